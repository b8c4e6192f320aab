// A child program for the Wine tests. It writes what it received into
// %KELMO_PROBE_DIR%\<tag>.txt (UTF-8, one key=value a line) and then behaves
// as its options say.
//
//   probe.exe <tag> [options]
//     -exit N        exit after N ms (default: at once)
//     -stay          stay until terminated (at most 60 s)
//     -window        open a visible top-level window; exit on WM_CLOSE (at most 60 s)
//     -hiddenfirst   with -window: make a hidden top-level window first
//     -showafter N   with -window: make the windows at once, show the visible
//                    one only after N ms
//     -hiddenonly    open only a hidden top-level window; exit on WM_CLOSE
//     -until FILE    exit once FILE exists (at most 60 s): the release file
//                    that tests create once they have seen what they wait for;
//                    with -window: on WM_CLOSE, exit only once FILE exists, as
//                    a program that asks its user first
//     -ignoreclose   with -window: note WM_CLOSE but keep running
//     -env NAME      write env=<value of NAME> (empty when unset)
//     -spawn ...     before anything else, start another probe with the
//                    arguments that follow (they are not read as this probe's
//                    options), then go on as the options before -spawn say
//     -spawnfrom FILE N  with -spawn: start that probe from FILE (a copy of
//                    this program under another name) N ms later
//
// A probe that ends by itself exits with code 3, so that the exit code 0 of
// the launcher's forced end tells a terminated probe apart.
// Keys: tag, pid, flags (STARTUPINFO.dwFlags), show (wShowWindow, or -1 when
// STARTF_USESHOWWINDOW is not set), created (process creation time) and
// started (first line of code), both in 100 ns units of the system clock,
// args (the command line after the program name); later lines: closed=<time>
// when WM_CLOSE arrived and closedvisible=1 or 0 for the window it came to,
// exited=<time> just before a normal exit, spawned=<pid> (0 when the start
// failed) after -spawn, shown=<time> just before the visible window is shown.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::wstring g_reportPath;
bool g_ignoreClose = false;
std::wstring g_until;
int g_showAfter = 0;

// Waits until the release file exists, at most 60 s.
void WaitForRelease() {
  for (int waited = 0;
       waited < 60000 && GetFileAttributesW(g_until.c_str()) == INVALID_FILE_ATTRIBUTES;
       waited += 10) {
    Sleep(10);
  }
}

unsigned long long Now() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

void Append(const std::wstring& line) {
  const std::wstring text = line + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  HANDLE file =
      CreateFileW(g_reportPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    Append(L"closed=" + std::to_wstring(Now()) + L"\nclosedvisible=" +
           std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0));
    if (g_ignoreClose) return 0;
    if (!g_until.empty()) WaitForRelease();
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* title, bool visible, int show) {
  HWND hwnd = CreateWindowExW(0, L"KelmoProbe", title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!visible) return hwnd;
  Sleep(static_cast<DWORD>(g_showAfter));
  Append(L"shown=" + std::to_wstring(Now()));
  ShowWindow(hwnd, show);
  return hwnd;
}

// Message loop until WM_CLOSE, bounded so a forgotten probe does not linger.
void RunWindows(bool visible, bool hiddenFirst, int show) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KelmoProbe";
  RegisterClassW(&windowClass);
  if (hiddenFirst || !visible) MakeWindow(L"probe hidden", false, SW_HIDE);
  if (visible) MakeWindow(L"probe window", true, show);
  Append(L"windows=" + std::to_wstring(Now()));
  SetTimer(nullptr, 0, 60000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageW(&msg);
  }
}

std::wstring ArgumentsOf(const wchar_t* commandLine) {
  const wchar_t* p = commandLine;
  bool quoted = false;
  while (*p && (quoted || (*p != L' ' && *p != L'\t'))) {
    if (*p == L'"') quoted = !quoted;
    ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

// Starts "<program> <argv[first..]>"; gives its pid or 0.
DWORD SpawnProbe(const wchar_t* program, wchar_t** argv, int first, int argc) {
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
  for (int i = first; i < argc; ++i) commandLine += std::wstring(L" \"") + argv[i] + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION created = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &created)) {
    return 0;
  }
  CloseHandle(created.hThread);
  CloseHandle(created.hProcess);
  return created.dwProcessId;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const unsigned long long started = Now();
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int spawnAt = argc;
  for (int i = 2; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"-spawn") {
      spawnAt = i;
      break;
    }
  }
  // The child comes first, so that a parent that follows this probe only
  // once it runs would miss it.
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* spawnFrom = self;
  for (int i = 2; i + 2 < spawnAt; ++i) {
    if (std::wstring(argv[i]) != L"-spawnfrom") continue;
    spawnFrom = argv[i + 1];
    Sleep(static_cast<DWORD>(_wtoi(argv[i + 2])));
  }
  const DWORD spawned = spawnAt < argc ? SpawnProbe(spawnFrom, argv, spawnAt + 1, argc) : 0;
  wchar_t directory[MAX_PATH] = L".";
  GetEnvironmentVariableW(L"KELMO_PROBE_DIR", directory, MAX_PATH);
  const std::wstring tag = argc > 1 ? argv[1] : L"untagged";
  g_reportPath = std::wstring(directory) + L"\\" + tag + L".txt";

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const unsigned long long createdTime =
      (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

  Append(L"tag=" + tag + L"\npid=" + std::to_wstring(GetCurrentProcessId()) + L"\nflags=" +
         std::to_wstring(startup.dwFlags) + L"\nshow=" + std::to_wstring(show) + L"\ncreated=" +
         std::to_wstring(createdTime) + L"\nstarted=" + std::to_wstring(started) + L"\nargs=" +
         ArgumentsOf(GetCommandLineW()));

  bool window = false, hiddenFirst = false, hiddenOnly = false, stay = false;
  int exitAfter = 0;
  if (spawnAt < argc) Append(L"spawned=" + std::to_wstring(spawned));
  for (int i = 2; i < spawnAt; ++i) {
    const std::wstring option = argv[i];
    if (option == L"-exit" && i + 1 < spawnAt)
      exitAfter = _wtoi(argv[++i]);
    else if (option == L"-stay")
      stay = true;
    else if (option == L"-window")
      window = true;
    else if (option == L"-showafter" && i + 1 < spawnAt)
      g_showAfter = _wtoi(argv[++i]);
    else if (option == L"-hiddenfirst")
      hiddenFirst = true;
    else if (option == L"-hiddenonly")
      hiddenOnly = true;
    else if (option == L"-until" && i + 1 < spawnAt)
      g_until = argv[++i];
    else if (option == L"-ignoreclose")
      g_ignoreClose = true;
    else if (option == L"-env" && i + 1 < spawnAt)
      Append(L"env=" + std::wstring(_wgetenv(argv[++i]) ? _wgetenv(argv[i]) : L""));
  }

  if (window || hiddenOnly) {
    RunWindows(!hiddenOnly, hiddenFirst, show < 0 ? SW_SHOWNORMAL : show);
  } else if (stay) {
    Sleep(60000);
  } else if (!g_until.empty()) {
    WaitForRelease();
  } else if (exitAfter > 0) {
    Sleep(static_cast<DWORD>(exitAfter));
  }
  Append(L"exited=" + std::to_wstring(Now()));
  return 3;
}
