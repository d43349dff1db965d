#pragma once
// Worker threads for the operations that fetch from the network.

#include <functional>

namespace app {

// Runs `job` on a new thread (CreateThread, default stack, started at once;
// the handle is closed straight away: nothing waits for a worker). Returns
// false when no thread could be started; the job then does not run.
bool StartWorker(std::function<void()> job);

}  // namespace app
