// Helpers for the tests that run real programs and windows under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/win/win_handle.h"

namespace kelmo::testing_support {

// Folder of the running test program; kelmoPro.exe, kelmoCM.exe and the
// helper programs are built beside it.
std::wstring BinDir();
// kelmoPro.exe in that folder.
std::wstring LauncherPath();

// Polls `condition` every 10 ms until it holds or `timeoutMs` have passed.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

// A fresh folder for the probes' reports, made current as KELMO_PROBE_DIR
// (children inherit it). Removed with its files when the object goes.
class ProbeDir {
 public:
  ProbeDir();
  ~ProbeDir();
  ProbeDir(const ProbeDir&) = delete;
  ProbeDir& operator=(const ProbeDir&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// What one probe wrote about itself.
struct ProbeReport {
  std::map<std::wstring, std::wstring> values;
  bool Has(const std::wstring& key) const { return values.count(key) != 0; }
  std::wstring Text(const std::wstring& key) const;
  long long Number(const std::wstring& key) const;
};

std::optional<ProbeReport> ReadReport(const ProbeDir& dir, const std::wstring& tag);
// Waits until the probe `tag` has written `key`; fails the test on time-out.
ProbeReport WaitForReport(const ProbeDir& dir, const std::wstring& tag,
                          const std::wstring& key = L"args", int timeoutMs = 10000);

// The short (8.3) form of an existing path; empty when it has none.
std::wstring ShortPath(const std::wstring& path);

// A copy of the probe under `name` in `dir`, and that copy's short (8.3)
// path: what Browse must put into the text box when the copy is chosen.
// Fails the test when the copy cannot be made or has no short form.
struct ProbeCopy {
  std::wstring path;
  std::wstring shortPath;
};
ProbeCopy CopyProbeAs(const ProbeDir& dir, const std::wstring& name);

// Command text that starts the probe: "<bin>\probe.exe <tag> <options>".
std::wstring ProbeCommand(const std::wstring& tag, const std::wstring& options = L"");

struct StartedProcess {
  UniqueHandle process;
  DWORD id = 0;
  UniqueHandle job;  // with StartLauncherInJob: the launcher and every process it starts
};
// Starts `exe` with the argument text `arguments` (a space between them).
// With `inJob`, in a job of its own with the limit flags `jobLimits`.
StartedProcess StartProgram(const std::wstring& exe, const std::wstring& arguments,
                            bool inJob = false, DWORD jobLimits = 0);
StartedProcess StartLauncher(const std::wstring& arguments);
// Starts the launcher in a job of its own, which the programs it starts join
// unless `jobLimits` lets them leave it.
StartedProcess StartLauncherInJob(const std::wstring& arguments, DWORD jobLimits = 0);
// Waits until every process of the job has ended; gives how many processes
// the job has held (the launcher included), or nullopt on time-out.
std::optional<DWORD> WaitForJobToEmpty(const StartedProcess& started, int timeoutMs = 15000);
// A process the test did not start, opened by its id so that WaitForExit can
// tell when it ends and with which code, and IsProcessInJob which jobs hold
// it (Wine 8 answers that only with PROCESS_QUERY_INFORMATION); empty when
// it is already gone.
StartedProcess WatchProcess(DWORD processId);
// Waits for the process to end; gives its exit code, or nullopt on time-out.
std::optional<DWORD> WaitForExit(const StartedProcess& started, int timeoutMs = 15000);
// When an ended process ended, in the probes' units (100 ns of the system
// clock, as their "created" and "exited" keys); 0 while it runs.
long long ExitTime(const StartedProcess& started);

// Creates the empty file `path`, such as the release file that a probe run
// with "-until path" waits for.
void CreateReleaseFile(const std::wstring& path);
// Writes `path` anew with `text`, bytes as they are (a batch file's lines).
void WriteTextFile(const std::wstring& path, const std::string& text);

// Registers `name` under App Paths (HKLM, where Wine reads it) as `program`;
// the registration goes with the object.
class ScopedAppPath {
 public:
  ScopedAppPath(const std::wstring& name, const std::wstring& program);
  ~ScopedAppPath();
  ScopedAppPath(const ScopedAppPath&) = delete;
  ScopedAppPath& operator=(const ScopedAppPath&) = delete;

 private:
  std::wstring key_;
};

void KillProcess(DWORD processId);

// A top-level window of class #32770 with this title, or null on time-out.
HWND WaitForDialog(const std::wstring& title, int timeoutMs = 10000);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// Presses a dialog button by its id (IDOK, IDYES, ...), as a click would.
void PressDialogButton(HWND dialog, int id);

// The top-level windows of a process (of every process for 0), in
// enumeration order.
std::vector<HWND> TopLevelWindows(DWORD processId);

// Sets the screen DPI that programs started from now on see (the user's
// LogPixels, read when a process starts); the former value comes back when
// the object goes.
class ScopedScreenDpi {
 public:
  explicit ScopedScreenDpi(DWORD dpi);
  ~ScopedScreenDpi();
  ScopedScreenDpi(const ScopedScreenDpi&) = delete;
  ScopedScreenDpi& operator=(const ScopedScreenDpi&) = delete;

 private:
  DWORD former_ = 96;
};

std::string Narrow(const std::wstring& text);  // UTF-8, for test messages

}  // namespace kelmo::testing_support
