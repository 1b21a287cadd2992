#pragma once

#include "support/FormsTestSupport.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>

namespace molvik::test {

// The one way tests touch a form's controls, by object name: a box gets its
// text typed as an operator types it; a check box or option gets "1" or "0"
// by a click on its indicator; any other name is a button to click, and
// "Escape" is the key.
void fillIn(QWidget &form, const QString &control, const QString &value);
void pressIn(QWidget &form, const QString &button);

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

    void fill(const QString &control, const QString &value);
    void press(const QString &button);
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

    // Checks the next message box shown since the last check.
    void expectMessage(const QString &text, const QString &title, MsgIcon icon, MsgButtons buttons);
    // No message box beyond those checked.
    void expectNoMoreMessages() const;
    bool routesSaved() const;

private:
    QWidget *form() const;

    QPointer<Form> m_current;
    std::size_t m_checkedMessages = 0;
};

// A file's whole content; empty when it cannot be read.
QByteArray readFile(const QString &path);

} // namespace molvik::test
