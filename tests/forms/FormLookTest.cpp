// Every form as an operator and a screen reader meet it: each caption whole
// in the one font all forms share, each control with a name to announce.

#include "control/Molvik4.h"
#include "editor/frmEdit.h"
#include "support/PageDriver.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/FileKXSecure.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"
#include "wizard/frmProxy.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

const std::pair<const char *, Form &(*)(PageDriver &)> kForms[] = {
    {"RuleName", openPage<RuleName>}, {"MoveVia", openPage<MoveVia>},     {"FileCopy", openPage<FileCopy>},
    {"FileFTP", openPage<FileFTP>},   {"frmProxy", openPage<frmProxy>},   {"FileEmail", openPage<FileEmail>},
    {"FileKXSecure", openPage<FileKXSecure>}, {"frmEdit", openPage<frmEdit>}};

QString captionOf(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    return {};
}

void checkCaptionsAndNames(const QWidget *form)
{
    const QString shared = QFontInfo(form->font()).family();
    for (QWidget *w : form->findChildren<QWidget *>()) {
        const QString caption = captionOf(w);
        if (!caption.isEmpty()) {
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_EQ(QFontInfo(w->font()).family(), shared);
            EXPECT_EQ(w->font().stretch(), QFont::AnyStretch); // none narrowed on its own
            // A label ends where the box it names begins.
            int room = w->width();
            if (const auto *label = qobject_cast<QLabel *>(w); label && label->buddy() && label->buddy()->x() > w->x())
                room = qMin(room, label->buddy()->x() - w->x());
            EXPECT_LE(w->sizeHint().width(), room) << caption.toStdString();
        }
        const bool interactive = qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                                 qobject_cast<QAbstractButton *>(w) || qobject_cast<QTreeWidget *>(w);
        if (interactive && w->isVisibleTo(form)) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            EXPECT_FALSE(a && a->text(QAccessible::Name).trimmed().isEmpty()) << w->objectName().toStdString();
        }
    }
}

} // namespace

TEST(EveryForm, CaptionsFitInTheOneSharedFontAndEveryControlHasAName)
{
    for (const auto &[name, open] : kForms) {
        SCOPED_TRACE(name);
        PageDriver d;
        checkCaptionsAndNames(&open(d));
    }
    SCOPED_TRACE("Molvik4");
    PageDriver d;
    Molvik4 control(*d.context);
    checkCaptionsAndNames(&control);
}
