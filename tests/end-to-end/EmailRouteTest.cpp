// A whole New Route for an email route, through the real modal dialogs: the
// operator types and clicks on each page as it comes up.

#include "end-to-end/EndToEnd.h"
#include "store/RouteStore.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace molvik::test {
namespace {

void type(QWidget &form, const char *box, const QString &text)
{
    FormsFixture::type(static_cast<Form &>(form), QLatin1String(box), text);
}

// Buttons are clicked at their left edge, on the indicator of a check box or an option.
void click(QWidget &form, const char *button)
{
    auto *b = form.findChild<QAbstractButton *>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

TEST(EmailRoute, NewSmtpRouteWithPop3ThroughTheRealDialogs)
{
    RealFlow flow;
    ASSERT_EQ(flow.s.store->routeCount, 1); // the default route
    flow.whenModal(u"RuleName"_s, [&](QWidget &name) {
        type(name, "Text1", u"Mail to head office"_s);
        flow.whenModal(u"MoveVia"_s, [&](QWidget &via) {
            click(via, "Option1(2)");
            flow.whenModal(u"FileEmail"_s, [&](QWidget &email) {
                type(email, "Text1(0)", u"office@example.org"_s);
                type(email, "Text1(1)", u"Finished files"_s);
                QTest::keyClicks(email.findChild<QPlainTextEdit *>(u"Text1(2)"_s), u"Hello,\rthe files."_s);
                type(email, "Text1(3)", u"smtp.example.org"_s);
                type(email, "Text1(6)", u"sender@example.org"_s);
                click(email, "Check1");
                type(email, "Text1(7)", u"pop.example.org"_s);
                type(email, "Text1(4)", u"sender"_s);
                type(email, "Text1(5)", u"p4ss word"_s);
                type(email, "Text1(9)", u"995"_s);
                click(email, "OKButton");
            });
            click(via, "OKButton");
        });
        click(name, "OKButton");
    });
    EXPECT_EQ(flow.newRoute(), u"Mail to head office"_s);

    // The file holds the route exactly as typed.
    const QByteArray file = flow.s.read(u"Routes.xml"_s);
    const qsizetype at = file.indexOf("<RouteDef>Mail to head office</RouteDef>\r\n");
    ASSERT_GE(at, 0);
    for (const char *line :
         {"<EmailTransfer>True</EmailTransfer>", "<DirTransfer>False</DirTransfer>", "<FTPServer>smtp.example.org</FTPServer>",
          "<FTPLogon>sender</FTPLogon>", "<FTPPassword>p4ss word</FTPPassword>",
          "<AutoEmailName>office@example.org</AutoEmailName>", "<AutoEmailAttach>sender@example.org</AutoEmailAttach>",
          "<AutoEmailMessage>Hello,the files.</AutoEmailMessage>", "<AutoEmailSubject>Finished files</AutoEmailSubject>",
          "<SMTP>True</SMTP>", "<mailPOPServer>pop.example.org</mailPOPServer>", "<mailPOPService>995</mailPOPService>",
          "<mailSMTPService>25</mailSMTPService>", "<mailPOPLogin>True</mailPOPLogin>"})
        EXPECT_TRUE(file.mid(at).contains(QByteArray(QByteArray(line) + "\r\n"))) << line;
}

} // namespace
} // namespace molvik::test
