// The email page over the rows of pages/email.txt: how it opens from a
// route, how its two modes and the POP3 switch set the server boxes, what OK
// stores, reports and saves.

#include "wizard/FileEmail.h"
#include "store/RouteStore.h"
#include "store/RuleSys.h"
#include "support/PageDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

namespace {

// The modes, the check box's value and whether it is enabled, the ten boxes'
// texts, then the server boxes 3, 6, 8, then 7, 4, 5, 9 and their labels: "E"
// enabled and painted as enabled, "d" disabled and painted as the page.
QString state(PageDriver &d, FileEmail &page)
{
    QString out = d.text(u"optMail(0)"_s) + d.text(u"optMail(1)"_s) + u' ' + d.text(u"Check1"_s) +
                  (page.Check1->isEnabled() ? u"on "_s : u"off "_s);
    for (int i = 0; i < 10; ++i)
        out += d.text(arrayName(u"Text1"_s, i)) + u'|';
    const QImage image = page.grab().toImage();
    const QColor enabled = page.Text1[0]->palette().color(QPalette::Base), disabled = page.palette().color(QPalette::Window);
    EXPECT_NE(enabled, disabled); // every state relies on telling the two apart
    for (const int i : {3, 6, 8, 7, 4, 5, 9}) {
        const QLineEdit *box = page.Text1[i];
        const QColor c =
            image.pixelColor(box->mapTo(&page, QPoint(box->width() - 6, box->height() / 2)) * image.devicePixelRatio());
        out += (i == 7 ? u" "_s : QString()) + (box->isEnabled() && c == enabled     ? u'E'
                                                : !box->isEnabled() && c == disabled ? u'd'
                                                                                     : u'?');
    }
    out += u" "_s;
    for (const int i : {7, 4, 5, 9})
        out += page.Label6[i]->isEnabled() ? u'E' : u'd';
    return out;
}

} // namespace

TEST(EmailPage, RowsOfThePage)
{
    for (const Case &row : table(u"pages/email.txt"_s)) {
        SCOPED_TRACE(row[u"name"_s].toStdString());
        PageDriver d;
        RuleSys::resetWorkingRoute(d.store());
        d.given(u"EmailTransfer=True"_s);
        d.prepare(row);
        FileEmail &page = d.open<FileEmail>();
        d.play(row);
        if (d.showing()) {
            EXPECT_EQ(page.Text1[5]->displayText(), QString(page.Text1[5]->text().size(), u'*'));
            EXPECT_EQ((row.contains(u"state"_s) ? state(d, page) : QString()).toStdString(), row[u"state"_s].toStdString());
        }
    }
}
