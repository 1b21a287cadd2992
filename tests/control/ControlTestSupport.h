#pragma once

#include "control/Molvik4.h"
#include "support/FormsTestSupport.h"

#include <QTreeWidget>

#include <memory>

namespace molvik::test {

// A failing disk, switched on and off by the test.
class SwitchableFileSystem final : public FileSystem
{
public:
    IoResult writeWhole(const QString &path, const QByteArray &content) const override
    {
        if (failWrites)
            return IoResult::failure(IoResult::Code::WriteFailed, path, QStringLiteral("No space left on device"), 28);
        return FileSystem::writeWhole(path, content);
    }
    mutable bool failWrites = false;
};

// A control on a temporary data folder with scripted seams.
struct ControlFixture : FormsFixture
{
    explicit ControlFixture(const QByteArray &routesFile = QByteArray(), bool writeFile = false);

    Molvik4 &control() { return *m_control; }
    // "key|text|image" per node, in tree order.
    QStringList nodes() const;
    QString selectedKey() const { return Molvik4::keyOf(m_control->Tree->currentItem()); }
    void select(int slot) { m_control->Tree->setCurrentItem(m_control->Tree->topLevelItem(slot - 1)); }
    // Clicks Command1(index).
    void press(int index);
    QByteArray routesFile() const { return s.read(QStringLiteral("Routes.xml")); }

    std::shared_ptr<SwitchableFileSystem> disk;
    std::unique_ptr<Molvik4> m_control;
    QStringList failures; // "path|cause" of every operationFailed
};

// A routes file of the given names, each a directory copy.
QByteArray routesOf(const QStringList &names);

} // namespace molvik::test
