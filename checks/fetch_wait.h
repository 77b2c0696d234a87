#pragma once
// How a caller waits for a fetch that runs on a worker.
#include <functional>

namespace skelvane {

enum class WaitEnd {
    Finished,   // the fetch's event was set
    TimedOut,   // the time ran out first
    WindowGone, // the window that waited was closed: nobody is left to tell
};

// Waits up to ms for `finished` (an event handle). A window waits here while it keeps
// painting, and returns WindowGone at once if it is closed; the fetch is then abandoned.
using FetchWait = std::function<WaitEnd(void* finished, unsigned ms)>;

} // namespace skelvane
