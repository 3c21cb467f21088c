// timedrun: the timings of bench/peer.sh, taken inside one Wine process.
//   timedrun.exe run PROGRAM [CAPTION]...   starts PROGRAM, answers OK to the
//                                           first of its windows with each of
//                                           those captions, waits for its exit
// Prints "seconds peak-working-set-bytes". The peak is sampled while the
// program runs, since Wine forgets it with the process.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <set>
#include <string>

#include "guidriver/driver.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

SIZE_T PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

// Runs the program; its windows are told apart by caption only, read from
// what the system keeps, so that a program busy with work is never sent a
// message and never waits for this one.
int Run(const std::string& program, const std::set<std::string>& captions) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + program + "\"";
  const double start = Now();
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "timedrun: cannot start %s\n", program.c_str());
    return 2;
  }
  CloseHandle(pi.hThread);
  std::set<std::string> waiting = captions;  // each caption is answered once
  SIZE_T peak = 0;
  const double deadline = start + 600;
  // Looks often while a window is awaited, seldom after, to take little of
  // the machine from the program measured.
  while (WaitForSingleObject(pi.hProcess, waiting.empty() ? 20 : 5) == WAIT_TIMEOUT) {
    const SIZE_T now = PeakWorkingSet(pi.hProcess);
    if (now > peak) peak = now;
    if (waiting.empty()) continue;
    for (HWND w : gui::VisibleWindows(pi.dwProcessId)) {
      if (!waiting.erase(gui::WindowText(w))) continue;
      PostMessageA(w, WM_COMMAND, IDOK, 0);
    }
    if (Now() > deadline) {
      TerminateProcess(pi.hProcess, 99);
      std::fprintf(stderr, "timedrun: %s still runs after 600 s\n", program.c_str());
      return 3;
    }
  }
  const double seconds = Now() - start;
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  std::printf("%.3f %llu\n", seconds, static_cast<unsigned long long>(peak));
  return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "run" && argc >= 3) return Run(argv[2], std::set<std::string>(argv + 3, argv + argc));
  std::fprintf(stderr, "usage: timedrun run PROGRAM [CAPTION]...\n");
  return 2;
}
