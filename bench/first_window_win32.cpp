// Times how long Windows programs take to show their first window: from
// CreateProcess until the program has a visible top-level window and waits
// for input, its first paint done. The programs are started in turn, run
// after run, so that a machine's changing load falls on each alike; each is
// ended once timed.
//   vellonix-first-window RUNS "COMMAND LINE" ["COMMAND LINE"...]
// prints, per command line, the fastest, median and mean time in ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <numeric>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD Process = 0;
  bool Found = false;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->Process && IsWindowVisible(window)) {
    search->Found = true;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds to the first window, or a negative number when the program
// failed to start or ended without one.
double TimeFirstWindow(std::wstring commandLine) {
  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return -1;
  }
  Search search{started.dwProcessId};
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (!search.Found && GetTickCount64() < deadline) {
    if (WaitForInputIdle(started.hProcess, 10) == 0) EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.Found && WaitForSingleObject(started.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  QueryPerformanceCounter(&end);
  TerminateProcess(started.hProcess, 0);
  WaitForSingleObject(started.hProcess, INFINITE);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  if (!search.Found) return -1;
  return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vellonix-first-window RUNS \"COMMAND LINE\"...\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  constexpr int kWarmUp = 2;
  std::vector<std::vector<double>> times(static_cast<std::size_t>(argc - 2));
  for (int run = 0; run < kWarmUp + runs; ++run) {
    for (std::size_t i = 0; i < times.size(); ++i) {
      const double ms = TimeFirstWindow(argv[i + 2]);
      if (ms < 0) {
        std::fprintf(stderr, "%ls: no window\n", argv[i + 2]);
        return 1;
      }
      if (run >= kWarmUp) times[i].push_back(ms);
    }
  }
  for (std::size_t i = 0; i < times.size(); ++i) {
    auto& t = times[i];
    std::sort(t.begin(), t.end());
    const double median = t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
    const double mean = std::accumulate(t.begin(), t.end(), 0.0) / static_cast<double>(t.size());
    std::printf("%ls\tmin %.1f ms\tmedian %.1f ms\tmean %.1f ms\n", argv[i + 2], t.front(), median, mean);
  }
  return 0;
}
