#include "control/Molvik4.h"
#include "forms/Twips.h"
#include "support/FormsTestSupport.h"
#include "wizard/ExplainPanel.h"
#include "wizard/FileCopy.h"
#include "wizard/MoveVia.h"
#include "wizard/RuleName.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace molvik;
using namespace molvik::test;

namespace {

// Renders a widget; with MOLVIK_SCREENSHOTS set the picture is kept there
// for a person to look at.
QImage render(QWidget &w, const QString &name)
{
    w.show();
    QCoreApplication::processEvents();
    const QImage image = w.grab().toImage();
    const QString folder = qEnvironmentVariable("MOLVIK_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        image.save(folder + u'/' + name + QStringLiteral(".png"));
    }
    return image;
}

// Rows of the picture that hold anything but the background.
bool drawsSomething(const QImage &image)
{
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

} // namespace

TEST(Screenshots, EveryFormRendersAtItsDesignSize)
{
    FormsFixture f;
    f.s.write(QStringLiteral("Wizard/FileCopy.dat"), "Type the folder that receives the files.\r\n");
    Molvik4 control(*f.context);
    const QImage c = render(control, QStringLiteral("Molvik4"));
    EXPECT_EQ(c.size(), QSize(Twips::toPixelsX(6975), Twips::toPixelsY(2730)));
    EXPECT_TRUE(drawsSomething(c));

    auto &name = f.context->form<RuleName>();
    name.Text1->setText(QStringLiteral("Scans to accounts"));
    EXPECT_EQ(render(name, QStringLiteral("RuleName")).height(), Twips::toPixelsY(1395));
    EXPECT_EQ(render(f.context->form<MoveVia>(), QStringLiteral("MoveVia")).height(), Twips::toPixelsY(1920));

    auto &copy = f.context->form<FileCopy>();
    copy.Text1->setText(QStringLiteral("/srv/outgoing"));
    EXPECT_EQ(render(copy, QStringLiteral("FileCopy")).height(), Twips::toPixelsY(1440));
    copy.panel->Explain_Click();
    const QImage grown = render(copy, QStringLiteral("FileCopy-grown"));
    EXPECT_GT(grown.height(), Twips::toPixelsY(1440 + 1690));
}
