// The least a launcher that starts one program must do: make one window,
// move it left of the screen, show, minimize and hide it, then start the
// program through ShellExecuteEx. `kelmoPro /b:X` is measured against it.
//   floor_launcher.exe <program> [parameters]
#include <windows.h>
#include <shellapi.h>

#include "bench/bench_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  HWND window = MakeBenchWindow(instance, "Floor");
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  SetWindowPos(window, nullptr, -(bounds.right - bounds.left), bounds.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNA);
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  ShowWindow(window, SW_HIDE);

  // The program is the first word, the parameters the rest.
  char* parameters = commandLine;
  while (*parameters != '\0' && *parameters != ' ') ++parameters;
  if (*parameters == ' ') *parameters++ = '\0';
  SHELLEXECUTEINFOA start = {};
  start.cbSize = sizeof(start);
  start.fMask = SEE_MASK_NOCLOSEPROCESS;
  start.hwnd = window;
  start.lpVerb = "open";
  start.lpFile = commandLine;
  start.lpParameters = *parameters != '\0' ? parameters : nullptr;
  start.nShow = SW_SHOWDEFAULT;
  ShellExecuteExA(&start);
  if (start.hProcess != nullptr) CloseHandle(start.hProcess);
  return 0;
}
