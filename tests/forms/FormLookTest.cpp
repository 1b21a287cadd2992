// Every form as an operator and a screen reader meet it: each caption whole
// in the one font all forms share, each control with a name to announce,
// the keyboard reaching only what shows.

#include "control/Molvik4.h"
#include "editor/frmEdit.h"
#include "support/PageDriver.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/FileEmail.h"
#include "wizard/FileFTP.h"
#include "wizard/FileKXSecure.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"
#include "wizard/frmProxy.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;
using namespace std::string_literals;

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

// Runs check on every form of the table, then on the control.
void forEveryForm(const std::function<void(const char *name, PageDriver &d, QWidget *form)> &check)
{
    for (const auto &[name, open] : kForms) {
        SCOPED_TRACE(name);
        PageDriver d;
        check(name, d, &open(d));
    }
    SCOPED_TRACE("Molvik4");
    PageDriver d;
    Molvik4 control(*d.context);
    check("Molvik4", d, &control);
}

} // namespace

TEST(EveryForm, CaptionsFitInTheOneSharedFontAndEveryControlHasAName)
{
    forEveryForm([](const char *, PageDriver &, QWidget *form) {
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
    });
}

// Tab walks the whole form, never lands where nothing shows and selects no
// option; the explanation box takes focus only while it shows. An arrow key
// selects the option it moves to, round the ends, and Enter acts on it.
TEST(EveryForm, TabStaysOnWhatShowsAndArrowsChooseOptions)
{
    forEveryForm([](const char *name, PageDriver &d, QWidget *form) {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        const auto options = form->findChildren<QRadioButton *>();
        const auto walk = [&] {
            QWidgetList seen;
            for (QWidget *at = QApplication::focusWidget(); at && !seen.contains(at); at = QApplication::focusWidget()) {
                seen << at;
                EXPECT_TRUE(at->isVisible() && at->isEnabled() && form->rect().contains(at->mapTo(form, at->rect().center())))
                    << at->objectName().toStdString();
                QTest::keyClick(at, Qt::Key_Tab);
            }
            return seen;
        };
        const auto chosen = [&options] {
            QString out;
            for (const QRadioButton *o : options)
                out += o->isChecked() ? u'1' : u'0';
            return out;
        };
        const QString before = chosen();
        EXPECT_GE(walk().size(), 3);
        EXPECT_EQ(chosen(), before);
        if (auto *panel = form->findChild<ExplainPanel *>()) {
            panel->Explain_Click();
            EXPECT_TRUE(walk().contains(panel->Text2));
            panel->Text2->setFocus();
            panel->Explain_Click();
            EXPECT_TRUE(panel->Explain->hasFocus());
        }
        if (options.size() > 1 && options[1]->isEnabled()) {
            options[0]->setFocus();
            QTest::keyClick(options[0], Qt::Key_Down);
            EXPECT_TRUE(options[1]->isChecked() && options[1]->hasFocus());
            QTest::keyClick(options[1], Qt::Key_Up);
            QTest::keyClick(options[0], Qt::Key_Left);
            EXPECT_TRUE(options.last()->isChecked() && options.last()->hasFocus());
        }
        if (name == "MoveVia"s) {
            d.on(u"FileFTP"_s, [&d] { d.press(u"CancelButton"_s); });
            QTest::keyClick(options[2], Qt::Key_Up);
            QTest::keyClick(options[1], Qt::Key_Return);
            EXPECT_EQ(d.field(u"FTPTransfer"_s), u"True"_s);
        }
    });
}
