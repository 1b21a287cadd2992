// Whole operations on the control through the real modal dialogs: the
// operator types and clicks on each window as it comes up.

#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// The file's lines without their CR LF; a line without its CR is marked.
QList<QByteArray> lines(const QByteArray &file)
{
    QList<QByteArray> out = file.split('\n');
    if (!out.isEmpty() && out.back().isEmpty())
        out.pop_back();
    for (QByteArray &l : out)
        l = l.endsWith('\r') ? l.chopped(1) : l + "<no CR>";
    return out;
}

// The golden default route's 59 lines with the values of the elements in
// changes ("Name=value", "|" between) replaced.
std::string routeBlock(const QString &changes)
{
    QList<QByteArray> block = lines(readFile(QStringLiteral(MOLVIK_TEST_DATA "/default-route.xml"))).mid(1, 59);
    for (const QString &change : changes.split(u'|')) {
        const QByteArray open = '<' + change.section(u'=', 0, 0).toUtf8() + '>';
        const auto line = std::find_if(block.begin(), block.end(), [&](const QByteArray &l) { return l.startsWith(open); });
        EXPECT_TRUE(line != block.end()) << open.constData() << " is not an element";
        if (line != block.end())
            *line = open + change.section(u'=', 1).toUtf8() + "</" + open.mid(1);
    }
    return block.join('\n').toStdString();
}

} // namespace

TEST(EndToEnd, NewRouteForEveryMethod)
{
    const struct
    {
        const char *name;
        std::vector<std::pair<QString, QString>> steps;
        QString changes;
    } rows[] = {
        {"Scans out",
         {{u"RuleName"_s, u"Text1=Scans \"out\";OKButton"_s},
          {u"MoveVia"_s, u"Option1(0)=1;OKButton"_s},
          {u"FileCopy"_s, u"Command1;OKButton"_s}},
         u"DirTransfer=True|RemoteDirectory=/srv/outgoing"_s},
        {"Upload site",
         {{u"RuleName"_s, u"Text1=Upload site;OKButton"_s},
          {u"MoveVia"_s, u"Option1(1)=1;OKButton"_s},
          {u"FileFTP"_s, u"Text1(0)=ftp.example.org;Text1(1)=kel;Text1(2)=s3cret;editPort=2121;cbSecure=1;cbPassive=1;"
                         u"cbProxy=1;Command1"_s},
          {u"frmProxy"_s, u"editPrxyHost=proxy.example.org;editPrxyUsr=puser;editPrxyPwd=ppass;editPrxyPort=8080;rbSite=1;"
                          u"OKButton"_s},
          {u"FileFTP"_s, u"OKButton"_s}},
         u"FTPTransfer=True|FTPSecure=True|FTPPassive=True|RemoteFTPDirectory= |FTPServer=ftp.example.org|FTPLogon=kel|"
         u"FTPPassword=s3cret|FTPport=2121|PrxyHost=proxy.example.org|PrxyUser=puser|PrxyPass=ppass|PrxyPort=8080|"
         u"PrxyEnabled=True|rbSite=True"_s},
        {"Mail to head office",
         {{u"RuleName"_s, u"Text1=Mail to head office;OKButton"_s},
          {u"MoveVia"_s, u"Option1(2)=1;OKButton"_s},
          {u"FileEmail"_s, u"Text1(0)=office@example.org;Text1(1)=Finished files;Text1(2)=Hello,\rthe files.;"
                           u"Text1(3)=smtp.example.org;Text1(6)=sender@example.org;Check1=1;Text1(7)=pop.example.org;"
                           u"Text1(4)=sender;Text1(5)=p4ss word;Text1(9)=995;OKButton"_s}},
         u"EmailTransfer=True|FTPServer=smtp.example.org|FTPLogon=sender|FTPPassword=p4ss word|"
         u"AutoEmailName=office@example.org|AutoEmailAttach=sender@example.org|AutoEmailMessage=Hello,the files.|"
         u"AutoEmailSubject=Finished files|mailPOPServer=pop.example.org|mailPOPService=995|mailPOPLogin=True"_s}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        RealFlow flow;
        flow.dialogs->folders = {u"/srv/outgoing"_s};
        for (const auto &[modal, steps] : r.steps)
            flow.then(modal, steps);
        EXPECT_EQ(flow.newRoute(), QLatin1String(r.name));
        EXPECT_EQ(Molvik4::keyOf(flow.control->Tree->currentItem()), u"D1"_s);
        const QList<QByteArray> file = lines(readFile(flow.s.path(u"Routes.xml"_s)));
        ASSERT_EQ(file.size(), 2 + 2 * 59);
        EXPECT_EQ(file[1] + file.back(), "<RouteDef>Default Route</RouteDef></Routes>");
        // Every line of the new route: where it differs from the default route, and where it does not.
        const QString common = u"RouteDef=%1|UserDirectory=%2|DirTransfer=False|RemoteDirectory=|SMTP=True|mailPOPService=110|"
                               u"mailSMTPService=25|FTPport=21|PrxyPort=21|EncryptFile=False|"_s;
        EXPECT_EQ(file.mid(60, 59).join('\n').toStdString(),
                  routeBlock(common.arg(QLatin1String(r.name), flow.s.path(u"Complete"_s)) + r.changes));
    }
}

TEST(EndToEnd, CancelledWizardAndDeleteWithRealMessageBoxes)
{
    RealFlow flow(true);
    flow.then(u"RuleName"_s, u"Text1=Second;OKButton"_s);
    flow.then(u"MoveVia"_s, u"OKButton"_s);
    flow.then(u"FileCopy"_s, u"Text1=/srv/two;OKButton"_s);
    flow.pressControl(0);
    ASSERT_EQ(flow.store().routeCount, 2);

    // A wizard cancelled on its first page, by Escape, adds nothing.
    const QByteArray before = readFile(flow.s.path(u"Routes.xml"_s));
    flow.then(u"RuleName"_s, u"Escape"_s);
    flow.pressControl(0);
    EXPECT_EQ(readFile(flow.s.path(u"Routes.xml"_s)), before);

    // Delete the first route, answering the real confirmation box with Yes.
    QString asked;
    flow.then(u"QMessageBox"_s, [&](QWidget &w) {
        auto &box = static_cast<QMessageBox &>(w);
        asked = box.windowTitle() + u'|' + box.text();
        box.button(QMessageBox::Yes)->click();
    });
    flow.pressControl(1);
    EXPECT_EQ(asked, u"Route Deleting... |Proceed with deletion?"_s);
    EXPECT_EQ(flow.store().routeCount, 1);
    EXPECT_EQ(flow.control->Tree->topLevelItem(0)->text(0), u"Second"_s);
    EXPECT_EQ(readFile(flow.s.path(u"Routes.xml"_s)).count("<RouteDef>"), 1);
}

TEST(EndToEnd, RenameThroughTheTreesOwnEditor)
{
    RealFlow flow;
    flow.then(u"RuleName"_s, u"Text1=Beta;OKButton"_s);
    flow.then(u"MoveVia"_s, u"OKButton"_s);
    flow.then(u"FileCopy"_s, u"Text1=/srv/b;OKButton"_s);
    flow.pressControl(0);
    QTreeWidget *tree = flow.control->Tree;
    const struct
    {
        const char *row;
        int node;
        QString typed, names;
        std::size_t messages;
    } rows[] = {{"renamed, blanks kept", 1, u"Bravo  "_s, u"Default Route|Bravo  "_s, 0},
                {"another's name in other case: refused", 1, u"DEFAULT ROUTE"_s, u"Default Route|Bravo  "_s, 1},
                {"emptied: the stored name stays", 0, u""_s, u"Default Route|Bravo  "_s, 1}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        tree->setCurrentItem(tree->topLevelItem(r.node));
        tree->editItem(tree->currentItem());
        FormsFixture::settle();
        auto *editor = tree->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, r.typed);
        QTest::keyClick(editor, Qt::Key_Return);
        FormsFixture::settle();
        EXPECT_EQ(tree->topLevelItem(0)->text(0) + u'|' + tree->topLevelItem(1)->text(0), r.names);
        EXPECT_EQ(flow.store().routes[std::size_t(r.node + 1)].RouteDef, r.names.section(u'|', r.node, r.node));
        EXPECT_EQ(flow.messages->shown.size(), r.messages);
    }
}
