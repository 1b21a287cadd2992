#pragma once

#include "platform/MolvikExport.h"

#include <QDialog>
#include <QString>

class QCheckBox;

namespace molvik {

class FormContext;
class RouteStore;

// A form of the wizard: one instance per form context, created (and loaded)
// on first use. Hide keeps the instance and its contents; unload runs the
// unload handler and destroys it, so the next use starts from the design.
class MOLVIK_EXPORT Form : public QDialog
{
    Q_OBJECT

public:
    Form(FormContext &context, const QString &name, const QString &caption);
    ~Form() override;

    FormContext &context() const { return m_context; }
    RouteStore &store() const;

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    void hideForm() { hide(); }
    void unloadForm();
    bool isUnloaded() const { return m_unloaded; }

    // Shows another form modally through the context's modal seam.
    void showModal(Form &other);

    // A control by its name, "Text1(3)" for an array member.
    template<typename W> W *control(const QString &name) const { return findChild<W *>(name); }

    // The client area in twips; the outer height in twips.
    void setClientSizeTwips(int width, int height);
    int heightTwips() const;
    void setHeightTwips(int twips);

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape presses the Cancel button, where the form has one.
    void reject() override;

private:
    FormContext &m_context;
    bool m_unloaded = false;
};

// A check box's value as the forms see it: 0 cleared, 1 ticked, 2 greyed.
int checkValue(const QCheckBox *box);
void setCheckValue(QCheckBox *box, int value);

// Controls of a kind whose direct container has the given object name.
template<typename W> QList<W *> controlsIn(const QWidget *form, const QString &containerName)
{
    QList<W *> out;
    for (W *w : form->findChildren<W *>()) {
        const QWidget *parent = w->parentWidget();
        if (parent && parent->objectName() == containerName)
            out << w;
    }
    return out;
}

// The name of a control-array member: arrayName(u"Text1", 3) is "Text1(3)".
QString arrayName(const QString &name, int index);

// Places a widget at its design position, in twips of its container.
void placeTwips(QWidget *widget, int left, int top, int width, int height);

// A control under its design name at its design place in its container; any
// further arguments (a caption) go to its constructor before the parent.
template<typename W, typename... Args>
W *makeControl(QWidget *container, const QString &name, int left, int top, int width, int height, Args &&...args)
{
    auto *control = new W(std::forward<Args>(args)..., container);
    control->setObjectName(name);
    placeTwips(control, left, top, width, height);
    return control;
}

// Sets the tab order to the widgets in the order given.
void setTabChain(std::initializer_list<QWidget *> chain);

} // namespace molvik
