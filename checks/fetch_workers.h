#pragma once
// The threads fetches run on, so a caller can walk away at its deadline while a name
// lookup still blocks.
#include <functional>

namespace skelvane {

// Runs work on a worker thread and returns at once; false when no thread could be had.
// A worker that has finished waits a while for the next piece of work instead of
// ending: a new thread's first fetch costs several milliseconds more than a plain GET
// (about 6 ms under Wine), which a second fetch on the same thread does not.
bool RunOnWorker(std::function<void()> work);

} // namespace skelvane
