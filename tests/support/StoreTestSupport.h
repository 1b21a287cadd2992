#pragma once

#include "platform/Environment.h"
#include "store/RouteStore.h"
#include "support/FixedVersionSource.h"
#include "support/WindowsPathFileSystem.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace molvik::test {

// A route store on Windows path texts: the component sits at
// componentFolder, every path maps under a temporary folder.
struct WindowsStore
{
    explicit WindowsStore(const QString &componentFolder = QStringLiteral("D:\\Apps\\Kelmora"), quint32 platform = 2,
                          quint32 major = 6, quint32 minor = 1);

    QString local(const QString &windowsPath) const { return fs->localPath(windowsPath); }
    QByteArray read(const QString &windowsPath) const;
    void write(const QString &windowsPath, const QByteArray &bytes) const;

    QTemporaryDir tmp;
    std::shared_ptr<WindowsPathFileSystem> fs;
    std::unique_ptr<RouteStore> store;
};

// A store on the native file system with its component in a temporary folder.
struct NativeStore
{
    explicit NativeStore(std::shared_ptr<const FileSystem> fileSystem = std::make_shared<FileSystem>());
    QString path(const QString &name) const { return tmp.filePath(name); }
    QByteArray read(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;

    QTemporaryDir tmp;
    std::unique_ptr<RouteStore> store;
};

// Joins lines with CR LF after each.
QByteArray crlf(std::initializer_list<const char *> lines);

// A route with every field set to something distinct from its default.
RouteDef sampleRoute(int n);

} // namespace molvik::test
