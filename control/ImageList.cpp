#include "control/ImageList.h"

namespace molvik {

ImageList::ImageList(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ImageList1"));
    for (int i = 0; i < count(); ++i)
        m_icons[std::size_t(i)] = QIcon(QStringLiteral(":/molvik/icons/route%1.xpm").arg(i + 1, 2, 10, QLatin1Char('0')));
}

QIcon ImageList::icon(int index) const
{
    if (index < 1 || index > count())
        return {};
    return m_icons[std::size_t(index - 1)];
}

} // namespace molvik
