#include "control/ImageList.h"

#include <QPixmap>

namespace molvik {

namespace {

// The icons compiled in: an image read from a file or a resource makes Qt
// load its image-format plugins, a millisecond of start-up.
namespace xpm {
#include "data/icons/route01.xpm"
#include "data/icons/route02.xpm"
#include "data/icons/route03.xpm"
#include "data/icons/route04.xpm"
#include "data/icons/route05.xpm"
#include "data/icons/route06.xpm"
#include "data/icons/route07.xpm"
#include "data/icons/route08.xpm"
#include "data/icons/route09.xpm"
#include "data/icons/route10.xpm"
} // namespace xpm

} // namespace

ImageList::ImageList(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ImageList1"));
    const char *const *images[] = {xpm::icon1, xpm::icon2, xpm::icon3, xpm::icon4, xpm::icon5,
                                   xpm::icon6, xpm::icon7, xpm::icon8, xpm::icon9, xpm::icon10};
    static_assert(std::size(images) == std::tuple_size_v<decltype(m_icons)>);
    for (std::size_t i = 0; i < m_icons.size(); ++i)
        m_icons[i] = QIcon(QPixmap(images[i]));
}

QIcon ImageList::icon(int index) const
{
    if (index < 1 || index > count())
        return {};
    return m_icons[std::size_t(index - 1)];
}

} // namespace molvik
