// A whole New Route for an FTP route with proxy, through the real modal
// dialogs: the operator types and clicks on each page as it comes up.

#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"
#include "wizard/FileFTP.h"
#include "wizard/frmProxy.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

void type(QWidget &form, const char *box, const QString &text)
{
    FormsFixture::type(static_cast<Form &>(form), QLatin1String(box), text);
}

void click(QWidget &form, const char *button)
{
    FormsFixture::click(static_cast<Form &>(form), QLatin1String(button));
}

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

// The golden default route's 59 lines, with the values of the elements in
// changes ("Name=value", "|" between) replaced.
std::string routeBlock(const QString &changes)
{
    QFile golden(QStringLiteral(MOLVIK_TEST_DATA "/default-route.xml"));
    EXPECT_TRUE(golden.open(QIODevice::ReadOnly));
    QList<QByteArray> block = lines(golden.readAll()).mid(1, 59);
    for (const QString &change : changes.split(u'|')) {
        const QByteArray name = change.section(u'=', 0, 0).toLocal8Bit();
        const QByteArray open = '<' + name + '>';
        const auto line = std::find_if(block.begin(), block.end(), [&](const QByteArray &l) { return l.startsWith(open); });
        EXPECT_TRUE(line != block.end()) << name.constData() << " is not an element";
        if (line != block.end())
            *line = open + change.section(u'=', 1).toLocal8Bit() + "</" + name + '>';
    }
    return block.join('\n').toStdString();
}

} // namespace

TEST(EndToEnd, NewFtpRouteWithProxy)
{
    RealFlow flow;
    ASSERT_EQ(flow.s.store->routeCount, 1); // the default route, written at start-up
    // Each step is scheduled before the click that opens its page.
    flow.whenModal(u"RuleName"_s, [&](QWidget &name) {
        type(name, "Text1", u"Upload site"_s);
        flow.whenModal(u"MoveVia"_s, [&](QWidget &methods) {
            click(methods, "Option1(1)");
            flow.whenModal(u"FileFTP"_s, [&](QWidget &page) {
                type(page, "Text1(0)", u"ftp.example.org"_s);
                type(page, "Text1(1)", u"kel"_s);
                type(page, "Text1(2)", u"s3cret"_s);
                type(page, "editPort", u"2121"_s);
                click(page, "cbSecure");
                click(page, "cbPassive");
                click(page, "cbProxy");
                flow.whenModal(u"frmProxy"_s, [&](QWidget &proxy) {
                    EXPECT_EQ(proxy.findChild<QLineEdit *>(u"editPrxyPort"_s)->text(), u"21"_s);
                    type(proxy, "editPrxyHost", u"proxy.example.org"_s);
                    type(proxy, "editPrxyUsr", u"puser"_s);
                    type(proxy, "editPrxyPwd", u"ppass"_s);
                    type(proxy, "editPrxyPort", u"8080"_s);
                    click(proxy, "rbSite");
                    // Back on the page once the dialog is hidden.
                    flow.whenModal(u"FileFTP"_s, [&](QWidget &again) { click(again, "OKButton"); });
                    click(proxy, "OKButton");
                });
                click(page, "Command1");
            });
            click(methods, "OKButton");
        });
        click(name, "OKButton");
    });
    EXPECT_EQ(flow.newRoute(), u"Upload site"_s);
    EXPECT_EQ(flow.context->loaded<FileFTP>(), nullptr);
    EXPECT_EQ(flow.context->loaded<frmProxy>(), nullptr);

    const QList<QByteArray> file = lines(flow.s.read(u"Routes.xml"_s));
    ASSERT_EQ(file.size(), 2 + 2 * 59);
    EXPECT_EQ(file.front(), "<Routes>");
    EXPECT_EQ(file[1], "<RouteDef>Default Route</RouteDef>");
    EXPECT_EQ(file.back(), "</Routes>");
    // Every line of the new route: where it differs from the default route, and where it does not.
    const std::string expected =
        routeBlock(u"RouteDef=Upload site|UserDirectory=%1|FTPTransfer=True|FTPSecure=True|FTPPassive=True|DirTransfer=False|"
                   u"RemoteDirectory=|RemoteFTPDirectory= |FTPServer=ftp.example.org|FTPLogon=kel|FTPPassword=s3cret|SMTP=True|"
                   u"mailPOPService=110|mailSMTPService=25|FTPport=2121|PrxyHost=proxy.example.org|PrxyUser=puser|PrxyPass=ppass|"
                   u"PrxyPort=8080|PrxyEnabled=True|rbSite=True|EncryptFile=False"_s.arg(flow.s.path(u"Complete"_s)));
    EXPECT_EQ(file.mid(60, 59).join('\n').toStdString(), expected);
}
