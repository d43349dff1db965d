#include "app/worker_thread.h"

#include <windows.h>

#include <memory>

namespace app {

namespace {

DWORD WINAPI RunJob(void* parameter) {
  std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(parameter));
  (*job)();
  return 0;
}

}  // namespace

bool StartWorker(std::function<void()> job) {
  auto owned = std::make_unique<std::function<void()>>(std::move(job));
  HANDLE thread = CreateThread(nullptr, 0, RunJob, owned.get(), 0, nullptr);
  if (thread == nullptr) return false;
  owned.release();  // the thread owns it now
  CloseHandle(thread);
  return true;
}

}  // namespace app
