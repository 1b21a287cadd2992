#pragma once

#include "forms/Twips.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>

#include <initializer_list>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace molvik {

// An option button's value as code sets it: yes selects the button and so
// clears the rest of its group; no clears that button alone, which can leave
// the group with nothing selected.
void setOptionValue(QRadioButton *button, bool value);

// The arrow keys on an option of the group move to the next (Down, Right) or
// previous (Up, Left) usable option, round the ends, and select it as a click
// does. Tab only moves focus, so a group shown with nothing selected stays
// so until the operator chooses.
void chooseByArrows(std::initializer_list<QRadioButton *> group);

// A password box: "*" for each character, whatever the platform's style draws.
void makePasswordBox(QLineEdit *box);

class Form;

// Shows the problems of a page's entries, when there are any, and says so.
bool showProblems(Form &page, const QString &problems);

// The browse buttons' picture, compiled in so no image plugin is loaded for it.
QIcon browseIcon();

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

// A control under its design name at its design place in its container; any
// further arguments (a caption) go to its constructor before the parent.
template<typename W, typename... Args>
W *makeControl(QWidget *container, const QString &name, int left, int top, int width, int height, Args &&...args)
{
    auto *control = new W(std::forward<Args>(args)..., container);
    control->setObjectName(name);
    Twips::place(control, left, top, width, height);
    return control;
}

// Sets the tab order to the widgets in the order given.
void setTabChain(std::initializer_list<QWidget *> chain);

} // namespace molvik
