#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace molvik {

class RouteStore;

// The forgiving line scanner behind load-routes. It streams the device in
// chunks (a line over 1 MiB is skipped without being held), never throws,
// and appends routes to the store from slot count + 1 upward.
class RoutesReader
{
public:
    // The longest line kept, without its line end: the writer writes none longer.
    static constexpr qsizetype kMaxLine = 1024 * 1024;

    struct Issue
    {
        qint64 line; // 1-based
        QString message;
    };
    using IssueSink = std::function<void(const Issue &)>;

    // Yes when the first line is exactly "<Routes>". Every line skipped and
    // every value not taken is reported to the sink, when one is given.
    static bool read(QIODevice &device, RouteStore &store, const IssueSink &sink = {});
};

} // namespace molvik
