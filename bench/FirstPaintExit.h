#pragma once

#include <QObject>

namespace molvik::bench {

// Ends the application once a window has painted for the first time: the
// whole first frame, since every widget of a window paints in one pass and
// the exit is queued behind it.
class FirstPaintExit : public QObject
{
public:
    explicit FirstPaintExit(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_painted = false;
};

} // namespace molvik::bench
