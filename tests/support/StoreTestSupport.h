#pragma once

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/OsVersionInfo.h"
#include "store/RouteStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace molvik {

// A record fixed by the test, so system detection can be tried for every system.
class FixedVersionSource final : public VersionSource
{
public:
    FixedVersionSource(quint32 platformId, quint32 major, quint32 minor)
    {
        m_info.dwPlatformId = platformId;
        m_info.dwMajorVersion = major;
        m_info.dwMinorVersion = minor;
    }
    OsVersionInfo query() const override { return m_info; }

private:
    OsVersionInfo m_info;
};

// Windows path texts ("C:\programData\Kelmora\Routes.xml") mapped onto a local
// root folder (root/C/programData/Kelmora/Routes.xml), so the exact texts
// written on Windows can be checked on any machine.
class WindowsPathFileSystem final : public FileSystem
{
public:
    explicit WindowsPathFileSystem(QString root) : m_root(std::move(root)) {}

    QString separator() const override { return QStringLiteral("\\"); }
    QString localPath(const QString &path) const override
    {
        QString rest = QString(path).replace(u'\\', u'/').remove(u':');
        while (rest.startsWith(u'/'))
            rest.remove(0, 1);
        return m_root + u'/' + rest;
    }

private:
    QString m_root;
};

} // namespace molvik

namespace molvik::test {

// The whole file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString &path);
// Writes the file, making its folders first.
void writeFile(const QString &path, const QByteArray &bytes);
// A file under the tests' data folder.
QByteArray golden(const QString &name);
// The rows of a table file under the tests' data folder: its lines but blank
// ones and comments ('#' first).
QStringList tableRows(const QString &name);

struct ProgramRun
{
    int status = -1; // -1 also when it crashed
    QByteArray out, err;
};
// A program run to its end in folder (the current one when empty), with
// inputFile (if any) on its standard input.
ProgramRun runProgram(const QString &program, const QStringList &arguments, const QString &folder = {},
                      const QString &inputFile = {});

// A zeroed version record, so never the shared data folder; the real file system unless told.
Environment plainEnvironment(const QString &folder = {},
                             std::shared_ptr<const FileSystem> fileSystem = std::make_shared<FileSystem>());

// A route store on Windows path texts, its component in componentFolder on
// a platform-2 system of the given major version; every path maps under a
// temporary folder, where the component folder and C:\programData exist.
struct WindowsStore
{
    explicit WindowsStore(quint32 major = 6, const QString &componentFolder = QStringLiteral("D:\\Apps\\Kelmora"));
    QString local(const QString &windowsPath) const { return fs->localPath(windowsPath); }

    QTemporaryDir tmp;
    std::shared_ptr<WindowsPathFileSystem> fs;
    RouteStore store;
};

// A store on the native file system with its component in a temporary folder.
struct NativeStore
{
    explicit NativeStore(std::shared_ptr<const FileSystem> fileSystem = std::make_shared<FileSystem>());
    QString path(const QString &name) const { return tmp.filePath(name); }
    QByteArray read(const QString &name) const { return readFile(path(name)); }
    void write(const QString &name, const QByteArray &bytes) const { writeFile(path(name), bytes); }

    QTemporaryDir tmp;
    std::unique_ptr<RouteStore> store;
};

// A route with every field set to something distinct from its default.
RouteDef sampleRoute(int n);

// A routes file of the given names, each a directory copy, as the reader leaves them.
QByteArray routesOf(const QStringList &names);

// The tables the save-loop child alternates between: save n writes ten
// routes when n is even and three when it is odd, with n itself in the first
// route so a reader can tell which save a file came from.
void fillSaveLoopTable(RouteStore &store, qint64 n);
QByteArray saveLoopTable(qint64 n);

} // namespace molvik::test
