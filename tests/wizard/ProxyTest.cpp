#include "support/FormsTestSupport.h"

#include "store/RouteStore.h"
#include "wizard/FileFTP.h"
#include "wizard/frmProxy.h"

#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

// The selected option button's name, or "none".
QString selected(const frmProxy &dialog)
{
    QString out = QStringLiteral("none");
    for (const QRadioButton *b : {dialog.rbUser, dialog.rbSite, dialog.rbLogin, dialog.rbOpen}) {
        if (b->isChecked())
            out = out == QStringLiteral("none") ? b->objectName() : out + u'+' + b->objectName();
    }
    return out;
}

void setFlags(RouteDef &w, const QString &yes)
{
    w.rbOpen = yesNo(yes.contains(QStringLiteral("O")));
    w.rbLogin = yesNo(yes.contains(QStringLiteral("L")));
    w.rbSite = yesNo(yes.contains(QStringLiteral("S")));
    w.rbUser = yesNo(yes.contains(QStringLiteral("U")));
}

} // namespace

TEST(ProxyDialog, LoadFillsTheBoxesAndTheLastYesFlagWins)
{
    // Flags are applied rbOpen, rbLogin, rbSite, rbUser: of several, the last one shows.
    const std::pair<const char *, const char *> cases[] = {
        {"", "none"},     {"O", "rbOpen"},   {"L", "rbLogin"}, {"S", "rbSite"},   {"U", "rbUser"},
        {"OU", "rbUser"}, {"OL", "rbLogin"}, {"LS", "rbSite"}, {"OLS", "rbSite"}, {"OLSU", "rbUser"},
    };
    for (const auto &[flags, expected] : cases) {
        FormsFixture fx;
        RouteDef &w = fx.store().workingRoute;
        w.PrxyHost = QStringLiteral("proxy.example.org");
        w.PrxyPass = QStringLiteral("pw");
        w.PrxyUser = QStringLiteral("someone");
        w.PrxyPort = 0;
        setFlags(w, QString::fromLatin1(flags));
        const frmProxy &dialog = fx.context->form<frmProxy>();
        EXPECT_EQ(selected(dialog), QString::fromLatin1(expected)) << flags;
        EXPECT_EQ(dialog.editPrxyHost->text(), QStringLiteral("proxy.example.org"));
        EXPECT_EQ(dialog.editPrxyPwd->text(), QStringLiteral("pw"));
        EXPECT_EQ(dialog.editPrxyUsr->text(), QStringLiteral("someone"));
        // Loaded on its own, a port of 0 shows as it is.
        EXPECT_EQ(dialog.editPrxyPort->text(), QStringLiteral("0"));
        EXPECT_EQ(dialog.editPrxyPwd->echoMode(), QLineEdit::Normal);
    }
}

TEST(ProxyDialog, ClearingTheSelectedButtonLeavesNoneSelected)
{
    FormsFixture fx;
    frmProxy &dialog = fx.context->form<frmProxy>();
    EXPECT_EQ(selected(dialog), QStringLiteral("none"));
    frmProxy::setOptionValue(dialog.rbSite, true);
    frmProxy::setOptionValue(dialog.rbOpen, false);
    EXPECT_EQ(selected(dialog), QStringLiteral("rbSite"));
    frmProxy::setOptionValue(dialog.rbLogin, true);
    EXPECT_EQ(selected(dialog), QStringLiteral("rbLogin"));
    frmProxy::setOptionValue(dialog.rbLogin, false);
    EXPECT_EQ(selected(dialog), QStringLiteral("none"));
    // The group is still exclusive afterwards.
    frmProxy::setOptionValue(dialog.rbUser, true);
    frmProxy::setOptionValue(dialog.rbOpen, true);
    EXPECT_EQ(selected(dialog), QStringLiteral("rbOpen"));
}

TEST(ProxyDialog, OkStoresEveryBoxAndHidesButStaysLoaded)
{
    struct Case
    {
        const char *port;
        qint32 stored;
        const char *option; // clicked, or empty for none
    };
    const Case cases[] = {
        {"8080", 8080, "rbSite"}, {"abc", 3128, "rbUser"}, {"", 3128, ""}, {"70000", 70000, "rbOpen"}, {"2.5", 2, "rbLogin"},
    };
    for (const Case &c : cases) {
        FormsFixture fx;
        RouteDef &w = fx.store().workingRoute;
        w.PrxyPort = 3128;
        setFlags(w, QString());
        frmProxy &dialog = fx.context->form<frmProxy>();
        dialog.show();
        FormsFixture::type(dialog, QStringLiteral("editPrxyHost"), QStringLiteral("host"));
        FormsFixture::type(dialog, QStringLiteral("editPrxyUsr"), QStringLiteral("user"));
        FormsFixture::type(dialog, QStringLiteral("editPrxyPwd"), QStringLiteral("secret"));
        FormsFixture::type(dialog, QStringLiteral("editPrxyPort"), QString::fromLatin1(c.port));
        if (*c.option)
            FormsFixture::click(dialog, QString::fromLatin1(c.option));
        FormsFixture::click(dialog, QStringLiteral("OKButton"));

        EXPECT_EQ(w.PrxyHost, QStringLiteral("host")) << c.port;
        EXPECT_EQ(w.PrxyUser, QStringLiteral("user"));
        EXPECT_EQ(w.PrxyPass, QStringLiteral("secret"));
        EXPECT_EQ(w.PrxyPort, c.stored) << c.port;
        const QString option = QString::fromLatin1(c.option);
        EXPECT_EQ(w.rbOpen, yesNo(option == QStringLiteral("rbOpen")));
        EXPECT_EQ(w.rbLogin, yesNo(option == QStringLiteral("rbLogin")));
        EXPECT_EQ(w.rbSite, yesNo(option == QStringLiteral("rbSite")));
        EXPECT_EQ(w.rbUser, yesNo(option == QStringLiteral("rbUser")));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(fx.context->loaded<frmProxy>(), &dialog);
    }
}

TEST(ProxyDialog, CancelUnloadsAndTheNextUseStartsFromTheRecord)
{
    FormsFixture fx;
    RouteDef &w = fx.store().workingRoute;
    w.PrxyHost = QStringLiteral("before");
    w.rbLogin = Yes;
    QPointer<frmProxy> dialog = &fx.context->form<frmProxy>();
    dialog->show();
    FormsFixture::type(*dialog, QStringLiteral("editPrxyHost"), QStringLiteral("typed"));
    FormsFixture::click(*dialog, QStringLiteral("rbUser"));
    FormsFixture::click(*dialog, QStringLiteral("CancelButton"));
    EXPECT_EQ(fx.context->loaded<frmProxy>(), nullptr);
    FormsFixture::settle();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(w.PrxyHost, QStringLiteral("before"));
    EXPECT_EQ(w.rbUser, No);

    const frmProxy &again = fx.context->form<frmProxy>();
    EXPECT_EQ(again.editPrxyHost->text(), QStringLiteral("before"));
    EXPECT_EQ(selected(again), QStringLiteral("rbLogin"));
}

TEST(ProxyDialog, OpenedFromTheFtpPageShowsTheRecordWithPort21ForZero)
{
    struct Case
    {
        qint32 port;
        const char *shown;
    };
    for (const Case c : {Case{0, "21"}, Case{8080, "8080"}, Case{-1, "-1"}}) {
        FormsFixture fx;
        RouteDef &w = fx.store().workingRoute;
        w.PrxyEnabled = Yes;
        w.PrxyHost = QStringLiteral("proxy");
        w.PrxyPort = c.port;
        w.rbOpen = Yes;
        w.rbSite = Yes;
        fx.modal->expect(QStringLiteral("frmProxy"), [&](Form &f) {
            auto &dialog = static_cast<frmProxy &>(f);
            EXPECT_EQ(dialog.editPrxyPort->text(), QString::fromLatin1(c.shown));
            EXPECT_EQ(dialog.editPrxyHost->text(), QStringLiteral("proxy"));
            EXPECT_EQ(selected(dialog), QStringLiteral("rbSite"));
            FormsFixture::click(dialog, QStringLiteral("CancelButton"));
        });
        FileFTP &page = fx.context->form<FileFTP>();
        page.show();
        FormsFixture::click(page, QStringLiteral("Command1"));
        EXPECT_TRUE(fx.modal->problems().isEmpty()) << fx.modal->problems().join(u';').toStdString();
        EXPECT_EQ(w.PrxyPort, c.port);
    }
}
