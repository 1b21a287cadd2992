#include "store/RouteStore.h"
#include "support/FormsTestSupport.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

QString cancelled(Form &page)
{
    FormsFixture::click(page, QStringLiteral("CancelButton"));
    return page.objectName();
}

} // namespace

TEST(NamePage, CleansTheNameAndFillsTheRecord)
{
    struct Case
    {
        QString typed;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("  Scans out  "), QStringLiteral("  Scans out  ")},
        {QStringLiteral("a/b\\c*d?e<f\"g>h|i"), QStringLiteral("abcdefg>h|i")},
        {QString::fromUtf8("Caf\u00e9 \u20ac"), QString::fromUtf8("Caf\u00e9 \u20ac")},
    };
    for (const Case &c : cases) {
        FormsFixture f;
        f.store().dataFolder = f.s.tmp.path();
        f.store().workingRoute.UserID = QStringLiteral("someone");
        auto &page = f.context->form<RuleName>();
        f.modal->expect(QStringLiteral("MoveVia"), [&](Form &next) {
            // The name box is already empty when the next page opens.
            EXPECT_EQ(page.Text1->text(), QString());
            EXPECT_FALSE(page.isVisible());
            cancelled(next);
        });
        page.show();
        FormsFixture::type(page, QStringLiteral("Text1"), c.typed);
        FormsFixture::click(page, QStringLiteral("OKButton"));
        const RouteDef &w = f.store().workingRoute;
        EXPECT_EQ(w.RouteDef, c.stored);
        EXPECT_EQ(w.UserDirectory, f.s.tmp.path() + QStringLiteral("/Complete"));
        EXPECT_EQ(w.Pattern, QStringLiteral("*.*"));
        EXPECT_EQ(w.UserID, QString());
        EXPECT_TRUE(f.modal->problems().isEmpty()) << f.modal->problems().join(u';').toStdString();
    }
}

TEST(NamePage, AnEmptyNameKeepsThePageOpenAndCancelKeepsTheText)
{
    FormsFixture f;
    auto &page = f.context->form<RuleName>();
    page.show();
    FormsFixture::type(page, QStringLiteral("Text1"), QStringLiteral("/*?\\<\""));
    FormsFixture::click(page, QStringLiteral("OKButton"));
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.Text1->text(), QString());
    EXPECT_TRUE(f.modal->shown().empty());

    FormsFixture::type(page, QStringLiteral("Text1"), QStringLiteral("half typed"));
    FormsFixture::click(page, QStringLiteral("CancelButton"));
    EXPECT_FALSE(page.isVisible());
    // Hidden, not unloaded: the next run shows the same text.
    EXPECT_EQ(&f.context->form<RuleName>(), &page);
    EXPECT_EQ(page.Text1->text(), QStringLiteral("half typed"));
    EXPECT_TRUE(f.s.read(QStringLiteral("Routes.xml")).startsWith("<missing>"));
}

TEST(NamePage, TheCloseButtonUnloadsToTheDesignState)
{
    FormsFixture f;
    auto *page = &f.context->form<RuleName>();
    page->show();
    page->Text1->setText(QStringLiteral("typed"));
    page->close();
    FormsFixture::settle();
    EXPECT_EQ(f.context->loaded<RuleName>(), nullptr);
    EXPECT_EQ(f.context->form<RuleName>().Text1->text(), QString());
}

TEST(TransferMethodPage, ShowsThePageOfTheChoiceAndKeepsIt)
{
    FormsFixture f;
    auto &page = f.context->form<MoveVia>();
    for (QRadioButton *o : page.Option1)
        EXPECT_FALSE(o->isChecked());

    // No choice: a directory copy.
    f.modal->expect(QStringLiteral("FileCopy"), cancelled);
    page.show();
    FormsFixture::click(page, QStringLiteral("OKButton"));
    EXPECT_EQ(f.store().workingRoute.DirTransfer, Yes);
    EXPECT_EQ(f.store().workingRoute.FTPTransfer, No);
    EXPECT_FALSE(page.isVisible());

    // The choice survives into the next run.
    f.store().workingRoute = RouteDef{};
    page.show();
    page.Option1[0]->click();
    f.modal->expect(QStringLiteral("FileCopy"), cancelled);
    FormsFixture::click(page, QStringLiteral("OKButton"));
    EXPECT_TRUE(f.context->form<MoveVia>().Option1[0]->isChecked());
    EXPECT_EQ(f.store().workingRoute.DirTransfer, Yes);
    EXPECT_EQ(f.modal->shown(), (std::vector<QString>{QStringLiteral("FileCopy"), QStringLiteral("FileCopy")}));

    // Cancel hides the page and ends the wizard.
    page.show();
    FormsFixture::click(page, QStringLiteral("CancelButton"));
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(f.modal->shown().size(), 2u);
    EXPECT_TRUE(f.modal->problems().isEmpty());
}
