// A whole New Route for an email route, through the real modal dialogs: the
// operator types and clicks on each page as it comes up.

#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace molvik::test {
namespace {

template<typename W> W *child(QWidget &form, const char *name)
{
    W *w = form.findChild<W *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void typeInto(QWidget &form, const char *box, const QString &text)
{
    QTest::keyClicks(child<QLineEdit>(form, box), text);
}

// Check boxes and options are clicked on their indicator, at the left edge.
void clickOn(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST(EmailRoute, NewSmtpRouteWithPop3ThroughTheRealDialogs)
{
    RealFlow flow;
    ASSERT_EQ(flow.s.store->routeCount, 1); // the default route

    bool emailShown = false;
    flow.whenModal(QStringLiteral("RuleName"), [&](QWidget &name) {
        typeInto(name, "Text1", QStringLiteral("Mail to head office"));
        flow.whenModal(QStringLiteral("MoveVia"), [&](QWidget &via) {
            clickOn(child<QRadioButton>(via, "Option1(2)"));
            flow.whenModal(QStringLiteral("FileEmail"), [&](QWidget &email) {
                emailShown = true;
                typeInto(email, "Text1(0)", QStringLiteral("office@example.org"));
                typeInto(email, "Text1(1)", QStringLiteral("Finished files"));
                auto *message = child<QPlainTextEdit>(email, "Text1(2)");
                QTest::keyClicks(message, QStringLiteral("Hello,"));
                QTest::keyClick(message, Qt::Key_Return);
                QTest::keyClicks(message, QStringLiteral("the files."));
                typeInto(email, "Text1(3)", QStringLiteral("smtp.example.org"));
                typeInto(email, "Text1(6)", QStringLiteral("sender@example.org"));
                clickOn(child<QCheckBox>(email, "Check1"));
                typeInto(email, "Text1(7)", QStringLiteral("pop.example.org"));
                typeInto(email, "Text1(4)", QStringLiteral("sender"));
                typeInto(email, "Text1(5)", QStringLiteral("p4ss word"));
                auto *popPort = child<QLineEdit>(email, "Text1(9)");
                popPort->selectAll();
                QTest::keyClicks(popPort, QStringLiteral("995"));
                QTest::mouseClick(child<QPushButton>(email, "OKButton"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(via, "OKButton"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(name, "OKButton"), Qt::LeftButton);
    });
    QTest::mouseClick(flow.control->Command1[0], Qt::LeftButton);
    FormsFixture::settle();

    EXPECT_TRUE(flow.missed.isEmpty()) << flow.missed.join(u',').toStdString();
    EXPECT_TRUE(emailShown);
    EXPECT_TRUE(flow.messages->shown.empty());
    ASSERT_EQ(flow.control->Tree->topLevelItemCount(), 2);
    EXPECT_EQ(flow.control->Tree->topLevelItem(1)->text(0), QStringLiteral("Mail to head office"));

    // The file holds the route exactly as typed.
    const QByteArray file = flow.s.read(QStringLiteral("Routes.xml"));
    const QByteArray route = file.mid(file.indexOf("<RouteDef>Mail to head office</RouteDef>"));
    for (const char *line :
         {"<EmailTransfer>True</EmailTransfer>", "<DirTransfer>False</DirTransfer>", "<FTPServer>smtp.example.org</FTPServer>",
          "<FTPLogon>sender</FTPLogon>", "<FTPPassword>p4ss word</FTPPassword>",
          "<AutoEmailName>office@example.org</AutoEmailName>", "<AutoEmailAttach>sender@example.org</AutoEmailAttach>",
          "<AutoEmailMessage>Hello,the files.</AutoEmailMessage>", "<AutoEmailSubject>Finished files</AutoEmailSubject>",
          "<SMTP>True</SMTP>", "<mailPOPServer>pop.example.org</mailPOPServer>", "<mailPOPService>995</mailPOPService>",
          "<mailSMTPService>25</mailSMTPService>", "<mailPOPLogin>True</mailPOPLogin>"})
        EXPECT_TRUE(route.contains(QByteArray(QByteArray(line) + "\r\n"))) << line;

    // And reads back as the same record.
    RouteStore reread(flow.s.store->environment());
    reread.dataFolder = flow.s.store->dataFolder;
    ASSERT_TRUE(RuleSys::loadRoutes(reread, reread.routesPath()));
    ASSERT_EQ(reread.routeCount, 2);
    EXPECT_TRUE(reread.routes[2] == flow.s.store->routes[2]);
}

} // namespace
} // namespace molvik::test
