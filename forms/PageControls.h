#pragma once

#include <QIcon>

#include <QString>

#include <initializer_list>

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

} // namespace molvik
