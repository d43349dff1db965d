#include "app/worker_thread.h"

#include <windows.h>

#include <mutex>

#include "regex/regex_object.h"
#include "win32/scoped.h"

namespace app {

struct WorkerPool::Worker {
  win32::ScopedHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  win32::ScopedHandle thread;  // kept so the pool can wait for the worker to end
  std::function<void()> job;   // handed over under the pool's lock
  bool quit = false;
};

struct WorkerPool::Shared {
  std::mutex mutex;
  bool closed = false;
  std::shared_ptr<Worker> waiting;
};

namespace {

struct Start {
  std::shared_ptr<WorkerPool::Shared> shared;
  std::shared_ptr<WorkerPool::Worker> worker;
};

// Waits for the wake-up, answering the messages of the thread's COM
// apartment meanwhile. False when the wait failed.
bool WaitForWakeUp(HANDLE wake) {
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

DWORD WINAPI RunWorker(void* parameter) {
  const std::unique_ptr<Start> start(static_cast<Start*>(parameter));
  WorkerPool::Shared& shared = *start->shared;
  WorkerPool::Worker& self = *start->worker;
  // Held between jobs: the last uninitialise on a thread unloads the engine.
  const regex::EngineSession engines;
  for (;;) {
    std::function<void()> job;
    {
      std::lock_guard<std::mutex> lock(shared.mutex);
      job = std::move(self.job);
    }
    if (job) job();
    job = nullptr;  // what the job holds goes before the wait
    {
      std::lock_guard<std::mutex> lock(shared.mutex);
      if (shared.closed || shared.waiting || !self.wake) return 0;
      shared.waiting = start->worker;
    }
    const bool woken = WaitForWakeUp(self.wake.get());
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (self.quit) return 0;
    // A failed wait ends the worker, unless a job was handed to it meanwhile.
    if (!woken && shared.waiting == start->worker) {
      shared.waiting.reset();
      return 0;
    }
  }
}

}  // namespace

WorkerPool::WorkerPool() : shared_(std::make_shared<Shared>()) {}

WorkerPool::~WorkerPool() {
  std::shared_ptr<Worker> waiting;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->closed = true;
    waiting = std::move(shared_->waiting);
    if (waiting) waiting->quit = true;
  }
  if (!waiting) return;
  SetEvent(waiting->wake.get());
  WaitForSingleObject(waiting->thread.get(), INFINITE);
}

bool WorkerPool::Run(std::function<void()> job) {
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (const std::shared_ptr<Worker> waiting = std::move(shared_->waiting)) {
      waiting->job = std::move(job);
      SetEvent(waiting->wake.get());
      return true;
    }
  }
  auto worker = std::make_shared<Worker>();
  worker->job = std::move(job);
  auto start = std::make_unique<Start>(Start{shared_, worker});
  HANDLE thread = CreateThread(nullptr, 0, RunWorker, start.get(), 0, nullptr);
  if (thread == nullptr) return false;
  start.release();  // the thread owns it now
  std::lock_guard<std::mutex> lock(shared_->mutex);
  worker->thread.reset(thread);
  return true;
}

}  // namespace app
