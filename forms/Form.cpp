#include "forms/Form.h"

#include "forms/FormContext.h"
#include "forms/Twips.h"

#include <QAbstractButton>
#include <QCloseEvent>

namespace molvik {

Form::Form(FormContext &context, const QString &name, const QString &caption) : QDialog(context.ownerWindow()), m_context(context)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
}

Form::~Form() = default;

RouteStore &Form::store() const
{
    return m_context.store();
}

void Form::unloadForm()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Form_Unload();
    // Hiding ends a running exec(); the object goes once the event loop that
    // ran the handler returns, so the handler can finish safely.
    hide();
    m_context.forget(*this);
    deleteLater();
}

void Form::showModal(Form &other)
{
    m_context.showModal(other);
}

void Form::setClientSizeTwips(int width, int height)
{
    setFixedWidth(Twips::toPixelsX(width));
    setFixedHeight(Twips::toPixelsY(height));
}

int Form::heightTwips() const
{
    return Twips::fromPixelsY(frameGeometry().height());
}

void Form::setHeightTwips(int twips)
{
    const int frame = frameGeometry().height() - height();
    setFixedHeight(qMax(0, Twips::toPixelsY(twips) - frame));
}

void Form::closeEvent(QCloseEvent *event)
{
    // The window's close button unloads the form, not just hides it.
    if (!m_unloaded)
        unloadForm();
    event->accept();
}

void Form::reject()
{
    if (auto *cancel = findChild<QAbstractButton *>(QStringLiteral("CancelButton")); cancel && cancel->isEnabled()) {
        cancel->click();
        return;
    }
    unloadForm();
}

} // namespace molvik
