#pragma once

#include "platform/FileSystem.h"

namespace molvik {

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
