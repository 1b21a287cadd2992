// The FTP page and its proxy dialog over the rows of pages/ftp.txt.

#include "wizard/FileFTP.h"
#include "support/PageDriver.h"
#include "wizard/frmProxy.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;
using namespace Qt::StringLiterals;

TEST(FtpPage, RowsOfThePageAndItsProxyDialog)
{
    for (const Case &row : table(u"pages/ftp.txt"_s)) {
        SCOPED_TRACE(row[u"name"_s].toStdString());
        PageDriver d;
        d.prepare(row);
        if (row[u"form"_s] == u"frmProxy") {
            frmProxy &dialog = d.open<frmProxy>();
            d.play(row);
            EXPECT_EQ(d.context->loaded<frmProxy>(), &dialog); // stays loaded for the page to read
            continue;
        }
        FileFTP &page = d.open<FileFTP>();
        EXPECT_EQ(page.Text1[2]->displayText(), QString(page.Text1[2]->text().size(), u'*'));
        d.play(row);
        if (!d.showing()) {
            EXPECT_EQ(d.context->loaded<FileFTP>(), nullptr);
            EXPECT_EQ(d.context->loaded<frmProxy>(), nullptr);
        }
    }
}
