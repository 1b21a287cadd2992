#include "forms/Form.h"

#include "forms/FormContext.h"
#include "forms/Twips.h"

#include <QAbstractButton>
#include <QCheckBox>
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
    // The window's close button unloads, as it always did.
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

int checkValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Checked:
        return 1;
    }
    return 0;
}

void setCheckValue(QCheckBox *box, int value)
{
    if (value == 2)
        box->setTristate(true);
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

QString arrayName(const QString &name, int index)
{
    return name + u'(' + QString::number(index) + u')';
}

void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    Twips::place(widget, left, top, width, height);
}

void setTabChain(std::initializer_list<QWidget *> chain)
{
    const QWidget *previous = nullptr;
    for (QWidget *w : chain) {
        if (previous)
            QWidget::setTabOrder(const_cast<QWidget *>(previous), w);
        previous = w;
    }
}

} // namespace molvik
