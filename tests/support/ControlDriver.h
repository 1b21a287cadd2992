#pragma once

#include "control/Molvik4.h"
#include "support/PageDriver.h"

#include <QStringList>

#include <memory>

namespace molvik::test {

// A disk whose writes fail when told to.
class SwitchableFileSystem final : public FileSystem
{
public:
    IoResult writeWhole(const QString &path, const QByteArray &content, const DurableWrite::FolderLock *held) const override;
    mutable bool failWrites = false;
};

// Lays out the folder, blank between entries: "name" a routes file of that
// name, "name=text" a file of that text ("refused" one whose first line is
// not <Routes>), "name=fifo", "name>target" a symbolic link, "name=locked" a
// routes file nobody may read.
void layOut(const QString &dir, const QString &layout);

// The control on the given routes file or folder layout.
struct ControlDriver : PageDriver
{
    explicit ControlDriver(const QByteArray &routes = {}, const QString &layout = {});

    // "key|text|image" per node, " " between, then the selected node's place (0: none).
    QString tree() const;
    void select(int slot);
    void pressControl(int index);

    std::shared_ptr<const SwitchableFileSystem> disk;
    std::unique_ptr<Molvik4> control;
    QStringList failures; // "path: cause" of every operationFailed
};

} // namespace molvik::test
