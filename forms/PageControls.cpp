#include "forms/PageControls.h"

#include "forms/Form.h"
#include "forms/FormContext.h"
#include "forms/Guard.h"
#include "store/RouteChecks.h"

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

} // namespace

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
    guarded([&] {
        page.context().message(&page, {problems, RouteChecks::problemsTitle(), MsgIcon::Information, MsgButtons::Ok});
    });
    return true;
}

QIcon browseIcon()
{
    return QIcon(QPixmap(xpm::browse));
}

} // namespace molvik
