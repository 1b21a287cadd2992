// Edit Route on each kind of route through the real modal dialogs, as the
// cases in edit-route/cases.txt describe; after each edit the routes file is
// compared with its golden copy.

#include "end-to-end/EndToEnd.h"
#include "support/PageDriver.h"

#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

const auto golden = [](const QString &name) { return readFile(QStringLiteral(MOLVIK_TEST_DATA "/edit-route/") + name); };

// Each block of the cases file as its "key: value" lines.
QList<QMap<QString, QString>> cases()
{
    QList<QMap<QString, QString>> out;
    for (const QString &line : QString::fromUtf8(golden(u"cases.txt"_s)).split(u'\n')) {
        if (line.startsWith(u"name: "))
            out.emplaceBack();
        if (!out.isEmpty() && line.contains(u": "))
            out.back()[line.section(u": "_s, 0, 0)] = line.section(u": "_s, 1);
    }
    return out;
}

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

// Runs the steps on a form; pages holds the "Page: steps" still to come.
void run(RealFlow &flow, QStringList &pages, int &shownPages, QWidget &form, const QString &steps)
{
    for (const QString &step : steps.split(u';')) {
        if (step.contains(u'=')) {
            fillIn(form, step.section(u'=', 0, 0), step.section(u'=', 1));
            continue;
        }
        // Any press may open the next page: watch for it before pressing.
        if (!pages.isEmpty()) {
            const QString page = pages.takeFirst();
            flow.whenModal(page.section(u": "_s, 0, 0), [&, page](QWidget &p) {
                ++shownPages;
                run(flow, pages, shownPages, p, page.section(u": "_s, 1));
            });
        }
        step == u"close" ? void(form.close()) : pressIn(form, step);
    }
}

} // namespace

TEST(EndToEnd, EditRouteOnEveryKindOfRoute)
{
    for (const auto &row : cases()) {
        SCOPED_TRACE(row[u"name"_s].toStdString());
        RealFlow flow;
        flow.s.write(u"Routes.xml"_s, golden(u"routes.xml"_s));
        flow.control->RouteNames();
        flow.control->UpdateTree();
        flow.control->Tree->setCurrentItem(flow.control->Tree->topLevelItem(row[u"slot"_s].toInt() - 1));
        for (const QString &folder : row[u"folders"_s].split(u'|'))
            flow.dialogs->folders.push_back(folder);
        QStringList pages = row[u"steps"_s].split(u" | "_s);
        int shownPages = 0;
        flow.whenModal(u"frmEdit"_s, [&](QWidget &editor) {
            EXPECT_EQ(shown(editor), row[u"shows"_s]);
            run(flow, pages, shownPages, editor, pages.takeFirst());
        });
        pressIn(*flow.control, u"Command1(3)"_s);
        FormsFixture::settle();
        EXPECT_TRUE(flow.missed.isEmpty()) << flow.missed.join(u',').toStdString();
        EXPECT_EQ(shownPages, row[u"steps"_s].count(u" | "_s));
        EXPECT_EQ(flow.s.store->editIndex, 0);
        const auto &m = flow.messages->shown;
        EXPECT_EQ(m.empty() ? QString() : m[0].title + u": "_s + m[0].text, row[u"messages"_s]);
        EXPECT_EQ(m.size(), row[u"messages"_s].isEmpty() ? 0u : 1u);
        // A mismatch prints the lines that differ.
        EXPECT_EQ(flow.s.read(u"Routes.xml"_s).toStdString(), golden(row[u"result"_s]).toStdString());
    }
}
