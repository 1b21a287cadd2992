#include "support/ControlDriver.h"

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace molvik::test {

IoResult SwitchableFileSystem::writeWhole(const QString &path, const QByteArray &content,
                                          const DurableWrite::FolderLock *held) const
{
    if (failWrites)
        return IoResult::failure(IoResult::Code::WriteFailed, path, u"No space left on device"_s, 28);
    return FileSystem::writeWhole(path, content, held);
}

void layOut(const QString &dir, const QString &layout)
{
    for (const QString &entry : layout.split(u' ')) {
        const QString name = entry.section(u'=', 0, 0).section(u'>', 0, 0), what = entry.section(u'=', 1), path = dir + name;
        if (entry.contains(u'>'))
            QFile::link(dir + entry.section(u'>', 1), path);
        else if (what == u"fifo")
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
        else
            writeFile(path, what == u"refused"                    ? "<routes>\r\n<RouteDef>handmade</RouteDef>\r\n"
                            : what.isEmpty() || what == u"locked" ? routesOf({name})
                                                                  : what.toUtf8());
        if (what == u"locked")
            QFile::setPermissions(path, {});
    }
}

ControlDriver::ControlDriver(const QByteArray &routes, const QString &layout)
    : PageDriver(std::make_shared<SwitchableFileSystem>())
{
    disk = std::static_pointer_cast<const SwitchableFileSystem>(s.store->environment().fileSystem);
    if (!routes.isNull())
        s.write(u"Routes.xml"_s, routes);
    if (!layout.isEmpty())
        layOut(s.tmp.path() + u'/', layout);
    control = std::make_unique<Molvik4>(*context);
    QObject::connect(control.get(), &Molvik4::operationFailed,
                     [this](const QString &path, const QString &cause) { failures << path + u": " + cause; });
}

QString ControlDriver::tree() const
{
    QStringList out;
    for (int i = 0; i < control->Tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *n = control->Tree->topLevelItem(i);
        out << u"%1|%2|%3"_s.arg(Molvik4::keyOf(n), n->text(0)).arg(Molvik4::imageOf(n));
    }
    return out.join(u' ') + u" @"_s + QString::number(control->Tree->indexOfTopLevelItem(control->Tree->currentItem()) + 1);
}

void ControlDriver::select(int slot)
{
    control->Tree->setCurrentItem(control->Tree->topLevelItem(slot - 1));
}

void ControlDriver::pressControl(int index)
{
    QTest::mouseClick(control->Command1[index], Qt::LeftButton);
}

} // namespace molvik::test
