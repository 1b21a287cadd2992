// Whole operations on the control through the real modal dialogs: the
// operator types and clicks on each window as it comes up. New Route and Edit
// Route run the cases under new-route/ and edit-route/ in the tests' data.

#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// Each block of a cases file as its "key: value" lines.
QList<QMap<QString, QString>> cases(const QString &folder)
{
    QList<QMap<QString, QString>> out;
    for (const QString &line : QString::fromUtf8(golden(folder + u"/cases.txt"_s)).split(u'\n')) {
        if (line.startsWith(u"name: "))
            out.emplaceBack();
        if (!out.isEmpty() && line.contains(u": "))
            out.back()[line.section(u": "_s, 0, 0)] = line.section(u": "_s, 1).replace(u"\\r"_s, u"\r"_s);
    }
    return out;
}

// The editor as it opens: caption, name, directory, the selected option, the disabled controls.
QString shown(const QWidget &editor)
{
    QStringList out{editor.windowTitle()};
    for (const char *box : {"Text1(0)", "Text1(3)"})
        out << editor.findChild<QLineEdit *>(QLatin1String(box))->text();
    for (const QRadioButton *option : editor.findChildren<QRadioButton *>())
        if (option->isChecked())
            out << option->objectName();
    for (const char *name : {"Text1(3)", "Command1(3)", "Command3"})
        if (!editor.findChild<QWidget *>(QLatin1String(name))->isEnabled())
            out << u"off "_s + QLatin1String(name);
    return out.join(u'|');
}

// The names in the tree, "|" between, then the selected node's key.
QString treeText(const QTreeWidget &tree)
{
    QStringList names;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        names << tree.topLevelItem(i)->text(0);
    return names.join(u'|') + u" @"_s + Molvik4::keyOf(tree.currentItem());
}

void runCases(const QString &folder, int button)
{
    for (const auto &row : cases(folder)) {
        SCOPED_TRACE(row[u"name"_s].toStdString());
        RealFlow flow(row.contains(u"start"_s) ? golden(folder + u'/' + row[u"start"_s]) : QByteArray(),
                      row.contains(u"real message boxes"_s));
        flow.control->Tree->setCurrentItem(flow.control->Tree->topLevelItem(row[u"slot"_s].toInt() - 1));
        for (const QString &answer : row[u"folders"_s].split(u'|'))
            flow.dialogs->folders.push_back(answer);
        QStringList messages;
        for (const QString &page : row[u"steps"_s].split(u" | "_s)) {
            const QString name = page.section(u": "_s, 0, 0), steps = page.section(u": "_s, 1);
            flow.then(name, [&row, &messages, name, steps](QWidget &w) {
                if (name == u"frmEdit") {
                    EXPECT_EQ(shown(w), row[u"shows"_s]);
                }
                if (name == u"QMessageBox")
                    messages << w.windowTitle() + u": "_s + static_cast<QMessageBox &>(w).text();
                RealFlow::act(w, steps);
            });
        }
        flow.pressControl(button);
        EXPECT_EQ(flow.s.store->editIndex, 0);
        EXPECT_EQ(treeText(*flow.control->Tree).toStdString(), row[u"tree"_s].toStdString());
        for (const MessageRequest &m : flow.messages->shown)
            messages << m.title + u": "_s + m.text;
        EXPECT_EQ(messages.join(u" | "_s), row[u"messages"_s]);
        // A mismatch prints the lines that differ.
        const QByteArray file = flow.s.read(u"Routes.xml"_s).replace(QFile::encodeName(flow.s.tmp.path()), "DATA");
        EXPECT_EQ(file.toStdString(), golden(folder + u'/' + row[u"result"_s]).toStdString());
    }
}

} // namespace

TEST(EndToEnd, NewRouteForEveryMethod)
{
    runCases(u"new-route"_s, 0);
}

TEST(EndToEnd, EditRouteOnEveryKindOfRoute)
{
    runCases(u"edit-route"_s, 3);
}

TEST(EndToEnd, DeleteAsksTheRealMessageBoxAndRenumbers)
{
    runCases(u"delete-route"_s, 1);
}

TEST(EndToEnd, RenameThroughTheTreesOwnEditor)
{
    // Names are unique ignoring case; an accepted rename is written at once.
    const QStringList names{u"Alpha"_s, u"Beta"_s, u"Gamma"_s};
    RealFlow flow(routesOf(names));
    static QStringList said; // what Qt warns while the tree's editor closes
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) { said << text; });
    QTreeWidget *tree = flow.control->Tree;
    const struct
    {
        const char *row;
        int node;
        QString typed, names;
        std::size_t messages;
    } rows[] = {{"renamed, blanks kept", 1, u"Beta  "_s, u"Alpha|Beta  |Gamma"_s, 0},
                {"its own name in other case", 1, u"BETA  "_s, u"Alpha|BETA  |Gamma"_s, 0},
                {"another's name in other case: refused", 2, u"ALPHA"_s, u"Alpha|BETA  |Gamma"_s, 1},
                {"emptied: nothing changes", 0, u""_s, u"Alpha|BETA  |Gamma"_s, 1},
                {"renamed again", 2, u"Gamma 2"_s, u"Alpha|BETA  |Gamma 2"_s, 1}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        tree->setCurrentItem(tree->topLevelItem(r.node));
        tree->editItem(tree->currentItem());
        FormsFixture::settle();
        auto *editor = tree->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->clear();
        QTest::keyClicks(editor, r.typed);
        QTest::keyClick(editor, Qt::Key_Return);
        FormsFixture::settle();
        EXPECT_EQ(treeText(*tree).section(u" @"_s, 0, 0), r.names);
        // The host reading the names again gets the file's: the tree's.
        EXPECT_EQ(flow.control->RouteNames().join(u'|'), u'|' + r.names);
        EXPECT_EQ(flow.messages->shown.size(), r.messages);
    }
    qInstallMessageHandler(before);
    EXPECT_EQ(said.join(u'\n').toStdString(), "");
    for (int i = 0; i < tree->topLevelItemCount(); ++i) // a name cut short shows whole in its tip
        EXPECT_EQ(tree->topLevelItem(i)->toolTip(0), tree->topLevelItem(i)->text(0));
    // None once the file is gone.
    QFile::remove(flow.s.path(u"Routes.xml"_s));
    EXPECT_EQ(flow.control->RouteNames(), QStringList{QString()});
}
