#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPluginLoader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <gtest/gtest.h>

#include <memory>

// The plugin as Designer finds it in an installed tree: it must reach the
// library by itself and leave the folder beside the library untouched.
TEST(DesignerPlugin, InstalledPluginLoadsAnywhereAndPreviewsWithoutWriting)
{
    QTemporaryDir prefix;
    QProcess install;
    install.start(QStringLiteral(MOLVIK_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(MOLVIK_BUILD_DIR), QStringLiteral("--prefix"), prefix.path()});
    ASSERT_TRUE(install.waitForFinished(-1) && install.exitCode() == 0) << install.readAllStandardError().toStdString();
    ASSERT_TRUE(qEnvironmentVariableIsEmpty("LD_LIBRARY_PATH"));

    const QString libDir = prefix.filePath(QStringLiteral(MOLVIK_INSTALL_LIBDIR));
    const QStringList before = QDir(libDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QPluginLoader loader(libDir + QStringLiteral("/qt6/plugins/designer/libMolvik4Plugin.so"));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
    ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
    EXPECT_EQ(plugin->name(), QStringLiteral("molvik::Molvik4"));
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("class=\"molvik::Molvik4\"")));
    // The product's own picture in the widget box.
    EXPECT_EQ(plugin->icon().pixmap(64).toImage().convertToFormat(QImage::Format_ARGB32),
              QImage(QStringLiteral(MOLVIK_DATA "/icons/molvik-wizard.png")).convertToFormat(QImage::Format_ARGB32));

    std::unique_ptr<QWidget> control(plugin->createWidget(nullptr));
    auto *tree = control ? control->findChild<QTreeWidget *>() : nullptr;
    ASSERT_NE(tree, nullptr);
    EXPECT_GT(tree->topLevelItemCount(), 1) << "the preview shows sample routes";
    control.reset();
    EXPECT_EQ(QDir(libDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}
