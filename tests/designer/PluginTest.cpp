#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <gtest/gtest.h>

TEST(DesignerPlugin, LoadsAndOffersTheControl)
{
    QPluginLoader loader(QStringLiteral(MOLVIK_DESIGNER_PLUGIN));
    QObject *instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto *widget = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->name(), QStringLiteral("molvik::Molvik4"));
    EXPECT_EQ(widget->includeFile(), QStringLiteral("control/Molvik4.h"));
    EXPECT_TRUE(widget->domXml().contains(QStringLiteral("class=\"molvik::Molvik4\"")));
    EXPECT_FALSE(widget->isContainer());
    EXPECT_FALSE(widget->icon().isNull());
}
