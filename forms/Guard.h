#pragma once

#include <exception>
#include <utility>

namespace molvik {

// The pages' handlers never let a failure escape: a statement that fails is
// skipped and the handler goes on with the next.
template<typename F> void guarded(F &&statement) noexcept
{
    try {
        std::forward<F>(statement)();
    } catch (...) {
    }
}

} // namespace molvik
