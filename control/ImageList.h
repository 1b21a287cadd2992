#pragma once

#include <QIcon>
#include <QObject>

#include <array>

namespace molvik {

// The control's ten 16 by 16 route icons, numbered from 1 as the tree uses them.
class ImageList final : public QObject
{
    Q_OBJECT

public:
    explicit ImageList(QObject *parent = nullptr);

    int count() const { return int(m_icons.size()); }
    // Index 1 to 10; anything else is the null icon.
    QIcon icon(int index) const;

private:
    std::array<QIcon, 10> m_icons;
};

} // namespace molvik
