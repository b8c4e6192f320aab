// Launcher timings under Wine, printed as medians of several runs in one go:
//   direct      CreateProcess of the probe until its first line of code
//   trivial     a trivial program's whole run (start to exit), and the same
//               for a trivial program that makes and hides one window
//   launcher    kelmoPro /b:probe until the probe's first line of code
//   floor       floor_launcher.exe probe (window set-up as the launcher's,
//               then ShellExecuteEx) until the probe's first line of code
//   cmd start   cmd /c start probe until the probe's first line of code
//   g item      kelmoPro /wg:probe against /w:probe until the probe's first
//               line of code: the copy that starts a tree inside its job
//   readiness   kelmoPro /br:probe /b:next, the first probe showing its window
//               late: from the window shown to the next program's creation
//   after delay from the waited program's last line to the after program's
//               process start (its creation) and to its first line of code
//   working set the launcher's working set while it waits (GetProcessMemoryInfo)
// Usage: launch_bench.exe [runs]   (default 15)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/wine_test_support.h"

namespace {

using namespace kelmo::testing_support;

long long NowTicks() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return static_cast<long long>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
                                now.dwLowDateTime);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

double Ms(long long ticks) { return static_cast<double>(ticks) / 10000.0; }

// Starts `commandLine` and gives the ms until the probe `tag` ran its first line.
double TimeToProbe(ProbeDir& dir, const std::wstring& exe, const std::wstring& arguments,
                   const std::wstring& tag) {
  const long long start = NowTicks();
  StartedProcess started = StartProgram(exe, arguments);
  const ProbeReport report = WaitForReport(dir, tag, L"started", 20000);
  WaitForExit(started, 20000);
  return Ms(report.Number(L"started") - start);
}

std::wstring Probe() { return BinDir() + L"\\probe.exe"; }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
  ProbeDir dir;
  std::vector<double> direct, trivial, trivialWindow, launcher, mandatedFloor, cmdStart,
      afterCreated, afterStarted, waitedPlain, waitedTree, readiness, afterNamed;
  double peakWorkingSetKb = 0, workingSetKb = 0;

  // A copy of the probe under another name, for the launcher to follow by name.
  const std::wstring game = dir.File(L"game.exe");
  CopyFileW(Probe().c_str(), game.c_str(), FALSE);

  // One unmeasured round warms the file cache and the wineserver.
  for (int run = -1; run < runs; ++run) {
    const std::wstring n = std::to_wstring(run + 1);
    const double d = TimeToProbe(dir, Probe(), L"d" + n, L"d" + n);

    long long start = NowTicks();
    StartedProcess tiny = StartProgram(BinDir() + L"\\trivial.exe", L"");
    WaitForExit(tiny, 20000);
    const double t = Ms(NowTicks() - start);

    start = NowTicks();
    StartedProcess tinyWindow = StartProgram(BinDir() + L"\\trivial_window.exe", L"");
    WaitForExit(tinyWindow, 20000);
    const double tw = Ms(NowTicks() - start);

    const double l = TimeToProbe(dir, LauncherPath(), L"/b:" + Probe() + L" l" + n, L"l" + n);

    const double f =
        TimeToProbe(dir, BinDir() + L"\\floor_launcher.exe", Probe() + L" f" + n, L"f" + n);

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const double c = TimeToProbe(dir, std::wstring(system) + L"\\cmd.exe",
                                 L"/c start \"\" \"" + Probe() + L"\" c" + n, L"c" + n);

    const double w = TimeToProbe(dir, LauncherPath(), L"/w:" + Probe() + L" p" + n, L"p" + n);
    const double g = TimeToProbe(dir, LauncherPath(), L"/wg:" + Probe() + L" g" + n, L"g" + n);

    const std::wstring release = dir.File(L"release" + n);
    StartedProcess run3 =
        StartLauncher(L"/br:" + Probe() + L" r" + n + L" -window -showafter 200 -until " + release +
                      L" /b:" + Probe() + L" n" + n);
    const ProbeReport shown = WaitForReport(dir, L"r" + n, L"shown", 20000);
    const ProbeReport next = WaitForReport(dir, L"n" + n, L"started", 20000);
    WaitForExit(run3, 20000);
    KillProcess(static_cast<DWORD>(shown.Number(L"pid")));

    StartedProcess run2 =
        StartLauncher(L"/w:" + Probe() + L" w" + n + L" -exit 100 /a:" + Probe() + L" a" + n);
    const ProbeReport waited = WaitForReport(dir, L"w" + n, L"exited", 20000);
    const ProbeReport after = WaitForReport(dir, L"a" + n, L"started", 20000);
    WaitForExit(run2, 20000);

    StartedProcess run4 = StartLauncher(L"/wp:game.exe /a:" + Probe() + L" na" + n);
    StartedProcess named = StartProgram(game, L"ng" + n + L" -exit 300");
    const ProbeReport namedEnd = WaitForReport(dir, L"ng" + n, L"exited", 20000);
    const ProbeReport afterNamedEnd = WaitForReport(dir, L"na" + n, L"started", 20000);
    WaitForExit(run4, 20000);

    if (run >= 0) {
      afterNamed.push_back(Ms(afterNamedEnd.Number(L"created") - namedEnd.Number(L"exited")));
      direct.push_back(d);
      trivial.push_back(t);
      trivialWindow.push_back(tw);
      launcher.push_back(l);
      mandatedFloor.push_back(f);
      cmdStart.push_back(c);
      waitedPlain.push_back(w);
      waitedTree.push_back(g);
      readiness.push_back(Ms(next.Number(L"created") - shown.Number(L"shown")));
      afterCreated.push_back(Ms(after.Number(L"created") - waited.Number(L"exited")));
      afterStarted.push_back(Ms(after.Number(L"started") - waited.Number(L"exited")));
    }
  }

  // The same reading for processes that do nothing but sleep, one without
  // and one with a hidden window: what the platform itself puts into every
  // working set, and into that of every program with a window.
  const auto idleWorkingSetKb = [](const wchar_t* program) {
    StartedProcess idle = StartProgram(BinDir() + L"\\" + program, L"sleep");
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    double kb = 0;
    if (GetProcessMemoryInfo(idle.process.get(), &counters, sizeof(counters))) {
      kb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    }
    TerminateProcess(idle.process.get(), 0);
    return kb;
  };
  const double idleKb = idleWorkingSetKb(L"trivial.exe");
  const double idleWindowKb = idleWorkingSetKb(L"trivial_window.exe");

  {
    const std::wstring release = dir.File(L"release");
    StartedProcess waiting = StartLauncher(L"/w:" + Probe() + L" ws -until " + release);
    WaitForReport(dir, L"ws", L"started", 20000);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, waiting.id);
    if (process && GetProcessMemoryInfo(process, &counters, sizeof(counters))) {
      peakWorkingSetKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
      workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    }
    if (process) CloseHandle(process);
    CreateReleaseFile(release);
    WaitForExit(waiting, 20000);
  }

  const double floor = Median(trivial) + Median(direct);
  std::printf("runs                                   %d\n", runs);
  std::printf("direct start of probe (ms)             %.1f\n", Median(direct));
  std::printf("trivial program, whole run (ms)        %.1f\n", Median(trivial));
  std::printf("floor = trivial + direct (ms)          %.1f\n", floor);
  std::printf("trivial program with a window (ms)     %.1f\n", Median(trivialWindow));
  std::printf("window floor = that + direct (ms)      %.1f\n",
              Median(trivialWindow) + Median(direct));
  std::printf("kelmoPro /b:probe (ms)                 %.1f\n", Median(launcher));
  std::printf("floor launcher to probe (ms)           %.1f\n", Median(mandatedFloor));
  std::printf("cmd /c start probe (ms)                %.1f\n", Median(cmdStart));
  std::printf("ratio launcher / floor launcher        %.2f   (target <= 1.10)\n",
              Median(launcher) / Median(mandatedFloor));
  std::printf("ratio launcher / floor                 %.2f\n", Median(launcher) / floor);
  std::printf("ratio launcher / window floor          %.2f\n",
              Median(launcher) / (Median(trivialWindow) + Median(direct)));
  std::printf("ratio launcher / cmd start             %.2f\n", Median(launcher) / Median(cmdStart));
  std::printf("kelmoPro /w:probe (ms)                 %.1f\n", Median(waitedPlain));
  std::printf("kelmoPro /wg:probe (ms)                %.1f\n", Median(waitedTree));
  std::printf("ratio g's extra / direct start         %.2f   (target <= 1.00)\n",
              (Median(waitedTree) - Median(waitedPlain)) / Median(direct));
  std::printf("window shown -> next created (ms)      %.1f\n", Median(readiness));
  std::printf("ratio that / direct start              %.2f   (target <= 1.00)\n",
              Median(readiness) / Median(direct));
  std::printf("waited exit -> after created (ms)      %.1f\n", Median(afterCreated));
  std::printf("ratio that / direct start              %.2f   (target <= 1.00)\n",
              Median(afterCreated) / Median(direct));
  std::printf("waited exit -> after first line (ms)   %.1f\n", Median(afterStarted));
  std::printf("named exit -> after created (ms)       %.1f\n", Median(afterNamed));
  std::printf("ratio that / direct start              %.2f   (target <= 1.00)\n",
              Median(afterNamed) / Median(direct));
  std::printf("launcher working set while waiting KB  %.0f (peak %.0f)\n", workingSetKb,
              peakWorkingSetKb);
  std::printf("idle trivial process working set KB    %.0f\n", idleKb);
  std::printf("idle window program working set KB     %.0f\n", idleWindowKb);
  std::printf("launcher working set above idle KB     %.0f\n", workingSetKb - idleKb);
  std::printf("launcher above idle window program KB  %.0f   (target <= 3072)\n",
              workingSetKb - idleWindowKb);
  return 0;
}
