#include "forms/PageControls.h"

#include "forms/Form.h"
#include "forms/FormContext.h"
#include "store/RouteChecks.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QRadioButton>

namespace molvik {

namespace {

namespace xpm {
#include "data/icons/browse.xpm"
} // namespace xpm

class StarPasswordStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

class OptionArrows final : public QObject
{
public:
    OptionArrows(std::initializer_list<QRadioButton *> group, QObject *parent) : QObject(parent), m_group(group)
    {
        for (QRadioButton *option : m_group)
            option->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        int step = 0;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        default:
            return false;
        }
        const qsizetype at = m_group.indexOf(qobject_cast<QRadioButton *>(watched));
        const qsizetype n = m_group.size();
        for (qsizetype i = (at + step + n) % n; i != at; i = (i + step + n) % n) {
            QRadioButton *next = m_group[i];
            if (next->isEnabled() && next->isVisible()) {
                next->setFocus(Qt::OtherFocusReason);
                next->setChecked(true);
                break;
            }
        }
        return true;
    }

private:
    QList<QRadioButton *> m_group;
};

} // namespace

void chooseByArrows(std::initializer_list<QRadioButton *> group)
{
    if (group.size() > 0)
        new OptionArrows(group, *group.begin());
}

void setOptionValue(QRadioButton *button, bool value)
{
    if (value) {
        button->setChecked(true);
        return;
    }
    if (!button->isChecked())
        return;
    // An exclusive button refuses to be cleared while it is the selected one.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(exclusive);
}

void makePasswordBox(QLineEdit *box)
{
    box->setEchoMode(QLineEdit::Password);
    auto *stars = new StarPasswordStyle;
    stars->setParent(box);
    box->setStyle(stars);
}

bool showProblems(Form &page, const QString &problems)
{
    if (problems.isEmpty())
        return false;
    page.context().message(&page, {problems, RouteChecks::problemsTitle(), MsgIcon::Information, MsgButtons::Ok});
    return true;
}

QIcon browseIcon()
{
    return QIcon(QPixmap(xpm::browse));
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
