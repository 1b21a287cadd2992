// The entry the control opens at run time. Only C types cross it: the owner
// window as a pointer, the route as the bytes the routes file holds for it.

#include "control/RouteTestWindow.h"

#include "platform/MolvikExport.h"
#include "store/RouteStore.h"
#include "store/RoutesReader.h"

#include <QBuffer>

extern "C" MOLVIK_EXPORT int molvikShowRouteTest(void *owner, const char *routes, long long size)
{
    using namespace molvik;
    QByteArray bytes = QByteArray::fromRawData(routes, qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    RouteStore table;
    if (!RoutesReader::read(buffer, table) || table.routeCount != 1)
        return -1;
    RouteTestWindow window(table.routes[1], static_cast<QWidget *>(owner));
    return window.exec();
}
