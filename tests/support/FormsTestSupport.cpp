#include "support/FormsTestSupport.h"

#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace molvik::test {

FormsFixture::FormsFixture(std::shared_ptr<const FileSystem> fileSystem) : s(std::move(fileSystem))
{
    context = std::make_unique<FormContext>(*s.store, FormServices{modal, messages, dialogs});
    // Explanation texts are looked up in the component folder's Wizard folder.
    QDir(s.tmp.path()).mkdir(QStringLiteral("Wizard"));
}

FormsFixture::~FormsFixture()
{
    context.reset();
    settle();
    QStringList left;
    for (const QWidget *w : QApplication::topLevelWidgets())
        left << QLatin1String(w->metaObject()->className()) + u' ' + w->objectName();
    EXPECT_TRUE(left.isEmpty()) << "windows left: " << left.join(u", ").toStdString();
    EXPECT_TRUE(modal->problems().isEmpty()) << modal->problems().join(u"; ").toStdString();
}

void FormsFixture::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace molvik::test
