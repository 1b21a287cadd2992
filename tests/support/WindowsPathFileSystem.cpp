#include "support/WindowsPathFileSystem.h"

namespace molvik {

QString WindowsPathFileSystem::localPath(const QString &path) const
{
    QString rest = path;
    rest.replace(u'\\', u'/');
    if (rest.size() >= 2 && rest[1] == u':')
        rest = rest.left(1) + rest.mid(2);
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    return m_root + u'/' + rest;
}

} // namespace molvik
