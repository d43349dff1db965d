// The search workers: kept between jobs, never holding up a newer job, and
// ended with their pool.

#include "app/worker_thread.h"

#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "win32/scoped.h"

namespace app {
namespace {

struct JobRecord {
  win32::ScopedHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<DWORD> thread{0};
  std::atomic<HRESULT> comInit{E_FAIL};  // what CoInitialize said in the job
};

// A job that notes its thread and whether COM was already initialised there.
std::function<void()> Recording(JobRecord& record) {
  return [&record] {
    record.thread = GetCurrentThreadId();
    const HRESULT init = CoInitialize(nullptr);
    if (SUCCEEDED(init)) CoUninitialize();
    record.comInit = init;
    SetEvent(record.done.get());
  };
}

bool Finished(const JobRecord& record) { return WaitForSingleObject(record.done.get(), 10000) == WAIT_OBJECT_0; }

// Whether the thread has ended (or is gone) within `ms`.
bool ThreadEnded(DWORD id, DWORD ms) {
  win32::ScopedHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
  return !thread || WaitForSingleObject(thread.get(), ms) == WAIT_OBJECT_0;
}

TEST(WorkerPool, KeepsOneWorkerWithComBetweenJobs) {
  WorkerPool pool;
  JobRecord first, second;
  ASSERT_TRUE(pool.Run(Recording(first)));
  ASSERT_TRUE(Finished(first));
  Sleep(50);  // the worker goes back to waiting
  ASSERT_TRUE(pool.Run(Recording(second)));
  ASSERT_TRUE(Finished(second));
  EXPECT_NE(first.thread.load(), GetCurrentThreadId());
  EXPECT_EQ(second.thread.load(), first.thread.load()) << "the waiting worker took the job";
  EXPECT_EQ(first.comInit.load(), S_FALSE) << "the worker keeps COM initialised for its jobs";
  EXPECT_EQ(second.comInit.load(), S_FALSE);
}

TEST(WorkerPool, BusyWorkerNeverHoldsUpANewerJobAndEndsAfterIt) {
  auto pool = std::make_unique<WorkerPool>();
  win32::ScopedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  JobRecord held, newer;
  ASSERT_TRUE(pool->Run([&] {
    held.thread = GetCurrentThreadId();
    WaitForSingleObject(release.get(), 10000);
    SetEvent(held.done.get());
  }));
  ASSERT_TRUE(pool->Run(Recording(newer)));
  EXPECT_TRUE(Finished(newer)) << "the newer job ran while the first was held";
  EXPECT_NE(newer.thread.load(), held.thread.load());

  // The pool goes while a job is held: the waiting worker ends with it, the
  // busy one once its job is done.
  Sleep(50);
  pool.reset();
  EXPECT_TRUE(ThreadEnded(newer.thread, 0)) << "the pool waited for its waiting worker";
  EXPECT_FALSE(ThreadEnded(held.thread, 0));
  SetEvent(release.get());
  EXPECT_TRUE(Finished(held));
  EXPECT_TRUE(ThreadEnded(held.thread, 10000));
}

TEST(WorkerPool, OnlyOneWorkerWaits) {
  WorkerPool pool;
  win32::ScopedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  JobRecord records[3];
  for (JobRecord& record : records) {
    ASSERT_TRUE(pool.Run([&record, &release] {
      record.thread = GetCurrentThreadId();
      WaitForSingleObject(release.get(), 10000);
      SetEvent(record.done.get());
    }));
  }
  SetEvent(release.get());
  int ended = 0;
  for (JobRecord& record : records) {
    ASSERT_TRUE(Finished(record));
    ended += ThreadEnded(record.thread, 2000);
  }
  EXPECT_EQ(ended, 2) << "three workers ran at once; one is kept";
}

}  // namespace
}  // namespace app
