#pragma once

#include "support/FormsTestSupport.h"

#include <QByteArray>
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
    void on(const QString &form, std::function<void()> step);

    void fill(const QString &control, const QString &value) { fillIn(m_current, control, value); }
    void press(const QString &button) { pressIn(m_current, button); }
    void act(const QString &steps) { actIn(m_current, steps); }
    // A box's text, or "1"/"0" for an option or check box ("2" greyed).
    QString text(const QString &control) const;
    bool enabled(const QString &control) const;
    // The current form is shown, not hidden or unloaded.
    bool showing() const { return m_current && m_current->isVisible(); }
    Form *current() const { return m_current; }

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

// A row of a test table: its name, what is given, what is done, what is expected.
struct Row
{
    const char *name;
    QString given, steps, expected;
};

} // namespace molvik::test
