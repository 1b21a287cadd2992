#include "support/FormsTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>

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
}

void FormsFixture::click(Form &form, const QString &button)
{
    auto *b = form.findChild<QAbstractButton *>(button);
    ASSERT_NE(b, nullptr) << "no button " << button.toStdString() << " on " << form.objectName().toStdString();
    QTest::mouseClick(b, Qt::LeftButton);
}

void FormsFixture::type(Form &form, const QString &box, const QString &text)
{
    auto *edit = form.findChild<QLineEdit *>(box);
    ASSERT_NE(edit, nullptr) << "no box " << box.toStdString() << " on " << form.objectName().toStdString();
    edit->selectAll();
    edit->del();
    // QTest types ASCII only; other characters go in as an input method would.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            edit->insert(QString(c));
    }
}

void FormsFixture::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace molvik::test
