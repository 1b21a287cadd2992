#pragma once

#include "platform/MolvikExport.h"

#include <QDialog>
#include <QString>

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

} // namespace molvik
