#pragma once

#include "forms/PageControls.h"
#include "support/FormsTestSupport.h"

#include <QByteArray>
#include <QMap>
#include <QPointer>
#include <QString>

#include <functional>

namespace molvik::test {

// The title over the FTP and email pages' list of problems.
inline const QString kProblemsTitle = QStringLiteral("Please attend to the following problems before saving this route");

// The one way tests touch a form's controls, by object name: a box gets its
// text typed as an operator types it; a check box or option gets "1" or "0"
// by a click on its indicator; any other name is a button to click, and
// "Escape" is the key.
void fillIn(QWidget *form, const QString &control, const QString &value);
void pressIn(QWidget *form, const QString &button);
// Fills and presses in turn: "Text1(0)=site;cbProxy=1;OKButton".
void actIn(QWidget *form, const QString &steps);

// A row of a table file: its "key: value" lines.
using Case = QMap<QString, QString>;
// The rows of a table file under tests/data, each from its "name:" line; "\r"
// in a value is a carriage return and "{folder}" the store's folder.
QList<Case> table(const QString &name);

// A form context on a temporary store with every seam scripted, and the
// operations every page test needs, on the current form.
class PageDriver : public FormsFixture
{
public:
    using FormsFixture::FormsFixture;

    // Loads the form if needed, shows it without a modal loop and makes it current.
    template<typename F> F &open()
    {
        F &form = context->form<F>();
        form.show();
        m_current = &form;
        return form;
    }
    // Queues step for the next modal show of the named form, current while it runs.
    void on(const QString &form, const std::function<void()> &step);

    void fill(const QString &control, const QString &value) { fillIn(m_current, control, value); }
    void press(const QString &button) { pressIn(m_current, button); }
    void act(const QString &steps) { actIn(m_current, steps); }
    // A box's text, "1"/"0" for an option or check box ("2" greyed) or
    // whether a push button shows.
    QString text(const QString &control) const;
    // The current form is shown, not hidden or unloaded.
    bool showing() const { return m_current && m_current->isVisible(); }

    // Readies a row before its form opens: "edit" the route's index and count,
    // "given" the record, "browse" the folder browser's answers ("|" between),
    // "dialog steps" on each showing of the "dialog" (" | " between) and,
    // on its first, "dialog shows" its controls.
    void prepare(const Case &row);
    // On the open form: compares "opens" controls, acts "steps", compares
    // "shows" controls, acts "ends"; then compares "problems" (the numbered
    // list, " | " between), "stored" fields, "open", "saved" and "routes".
    void play(const Case &row);
    // The "name=value;..." list with the values now on the form or in the record.
    QString controls(const QString &list) const;
    QString record(const QString &list) const;

    // A working-route field by element name: yes/no as "True"/"False" (another
    // value as its number), numbers as digits.
    QString field(const QString &element) const;
    void setField(const QString &element, const QString &value);
    // Several fields, names separated by blanks, values joined by "|".
    QString fields(const QString &elements) const;
    void setFields(const QString &elements, const QString &values);
    // Fields as "Element=value", ";" between.
    void given(const QString &assignments);

    // Checks the next message box shown since the last check.
    void expectMessage(const QString &text, const QString &title, MsgIcon icon, MsgButtons buttons);
    // No message box beyond those checked.
    void expectNoMoreMessages() const;
    bool routesSaved() const;

private:
    QPointer<Form> m_current;
    std::size_t m_checkedMessages = 0;
};

// Opens page F, for tables of pages.
template<typename F> Form &openPage(PageDriver &d)
{
    return d.open<F>();
}

} // namespace molvik::test
