// Start-up: process start until the first full paint, reported by the
// started program through a named event.

#include <windows.h>
#include <psapi.h>

#include "bench/benchmarks.h"
#include "bench/stats.h"
#include "win32/first_paint.h"
#include "win32/scoped.h"

namespace bench {

namespace {

constexpr DWORD kStartTimeoutMs = 30000;

struct StartRun {
  bool painted = false;
  double ms = 0;
  SIZE_T workingSet = 0;  // of the started process at its first paint
};

StartRun StartOnce(const std::string& program, const std::string& arguments, int run) {
  StartRun result;
  const std::string eventName = "TorrentFinderBenchPaint" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(run);
  win32::ScopedHandle painted(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  std::string commandLine = "\"" + program + "\" " + arguments + " " + win32::kFirstPaintSwitch + " " + eventName;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double t0 = NowMs();
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return result;
  win32::ScopedHandle processHandle(process.hProcess), threadHandle(process.hThread);
  HANDLE waits[] = {painted.get(), process.hProcess};
  result.painted = WaitForMultipleObjects(2, waits, FALSE, kStartTimeoutMs) == WAIT_OBJECT_0;
  result.ms = NowMs() - t0;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) result.workingSet = counters.WorkingSetSize;
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, kStartTimeoutMs);
  return result;
}

}  // namespace

void RunStartUp(const std::string& program, const std::string& minimalWindow, const std::string& siteRoot) {
  PrintSection("Start-up: process start until the first full paint (interleaved)",
               {"program", "runs", "ms", "working set at first paint KB", "ratio to minimal window"});
  constexpr int kRuns = 15;
  Samples skinned, minimal, skinnedMemory, minimalMemory;
  for (int i = 0; i < kRuns; ++i) {
    const StartRun a = StartOnce(program, "--site " + siteRoot, 2 * i);
    const StartRun b = StartOnce(minimalWindow, "", 2 * i + 1);
    if (!a.painted || !b.painted) {
      PrintRow({"(a program did not report its first paint)", "", "", "", ""});
      return;
    }
    skinned.Add(a.ms);
    minimal.Add(b.ms);
    skinnedMemory.Add(a.workingSet / 1024.0);
    minimalMemory.Add(b.workingSet / 1024.0);
  }
  PrintRow({"TorrentFinder", std::to_string(kRuns), Figure(skinned, 1), Figure(skinnedMemory, 0),
            Number(skinned.Median() / minimal.Median(), 2)});
  PrintRow({"minimal window", std::to_string(kRuns), Figure(minimal, 1), Figure(minimalMemory, 0), "1.00"});
}

}  // namespace bench
