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

template<typename F> QWidget *opener(PageDriver &d)
{
    return &d.open<F>();
}

const std::pair<const char *, QWidget *(*)(PageDriver &)> kForms[] = {
    {"RuleName", opener<RuleName>},
    {"MoveVia", opener<MoveVia>},
    {"FileCopy", opener<FileCopy>},
    {"FileFTP", opener<FileFTP>},
    {"frmProxy", opener<frmProxy>},
    {"FileEmail", opener<FileEmail>},
    {"FileKXSecure", opener<FileKXSecure>},
    {"frmEdit", opener<frmEdit>},
    {"Molvik4", [](PageDriver &d) -> QWidget * { return new Molvik4(*d.context); }}};

QString captionOf(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    return {};
}

// A form of the table; the control, which no context keeps, is deleted here.
struct Opened
{
    Opened(PageDriver &d, QWidget *(*open)(PageDriver &)) : form(open(d))
    {
        if (!qobject_cast<Form *>(form))
            owned.reset(form);
    }
    QWidget *form;
    std::unique_ptr<QWidget> owned;
};

} // namespace

TEST(EveryForm, CaptionsFitInTheOneSharedFontAndEveryControlHasAName)
{
    for (const auto &[name, open] : kForms) {
        SCOPED_TRACE(name);
        PageDriver d;
        const Opened opened(d, open);
        QWidget *form = opened.form;
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
}

// Tab walks the whole form, never lands where nothing shows and selects no
// option; the explanation box takes focus only while it shows. An arrow key
// selects the option it moves to, round the ends, and Enter acts on it.
TEST(EveryForm, TabStaysOnWhatShowsAndArrowsChooseOptions)
{
    for (const auto &[name, open] : kForms) {
        SCOPED_TRACE(name);
        PageDriver d;
        const Opened opened(d, open);
        QWidget *form = opened.form;
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
    }
}
