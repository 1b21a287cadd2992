// Edit Route on each kind of route through the real modal dialogs, as the
// cases in edit-route/cases.txt describe; after each edit the routes file is
// compared with its golden copy.

#include "end-to-end/EndToEnd.h"
#include "support/PageDriver.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray data(const QString &name)
{
    return golden(u"edit-route/"_s + name);
}

// Each block of the cases file as its "key: value" lines.
QList<QMap<QString, QString>> cases()
{
    QList<QMap<QString, QString>> out;
    for (const QString &line : QString::fromUtf8(data(u"cases.txt"_s)).split(u'\n')) {
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

// Fills and presses in turn; "close" closes the window as its title-bar button does.
void act(QWidget &form, const QString &steps)
{
    for (const QString &step : steps.split(u';'))
        step == u"close" ? void(form.close()) : actIn(&form, step);
}

} // namespace

TEST(EndToEnd, EditRouteOnEveryKindOfRoute)
{
    for (const auto &row : cases()) {
        SCOPED_TRACE(row[u"name"_s].toStdString());
        RealFlow flow;
        flow.s.write(u"Routes.xml"_s, data(u"routes.xml"_s));
        flow.control->RouteNames();
        flow.control->UpdateTree();
        flow.control->Tree->setCurrentItem(flow.control->Tree->topLevelItem(row[u"slot"_s].toInt() - 1));
        for (const QString &folder : row[u"folders"_s].split(u'|'))
            flow.dialogs->folders.push_back(folder);
        QStringList pages = row[u"steps"_s].split(u" | "_s);
        const QString editorSteps = pages.takeFirst();
        flow.then(u"frmEdit"_s, [&](QWidget &editor) {
            EXPECT_EQ(shown(editor), row[u"shows"_s]);
            act(editor, editorSteps);
        });
        // The pages the editor opens, in order; each must come up.
        for (const QString &page : pages)
            flow.then(page.section(u": "_s, 0, 0), page.section(u": "_s, 1));
        flow.pressControl(3);
        EXPECT_EQ(flow.s.store->editIndex, 0);
        const auto &m = flow.messages->shown;
        EXPECT_EQ(m.empty() ? QString() : m[0].title + u": "_s + m[0].text, row[u"messages"_s]);
        EXPECT_EQ(m.size(), row[u"messages"_s].isEmpty() ? 0u : 1u);
        // A mismatch prints the lines that differ.
        EXPECT_EQ(flow.s.read(u"Routes.xml"_s).toStdString(), data(row[u"result"_s]).toStdString());
    }
}
