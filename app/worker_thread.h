#pragma once
// Worker threads for the operations that fetch from the network.

#include <functional>
#include <memory>

namespace app {

// Runs jobs on worker threads. A worker that has done its job waits for the
// next one with COM still initialised, so the next search neither starts a
// thread nor loads the regular-expression engine again. A job goes to the
// waiting worker, or to a new thread when none waits: a worker held up by a
// stalled site never holds up a newer job. At most one worker waits; the
// others end after their job.
class WorkerPool {
 public:
  WorkerPool();
  // Ends the waiting worker and waits for it to end; a busy worker ends
  // after its job.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Returns false when no thread could be started; the job then does not run.
  bool Run(std::function<void()> job);

  // Defined with the workers' thread procedure.
  struct Shared;
  struct Worker;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace app
