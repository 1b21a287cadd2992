#include "bench/FirstPaintExit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

namespace molvik::bench {

FirstPaintExit::FirstPaintExit(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool FirstPaintExit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace molvik::bench
