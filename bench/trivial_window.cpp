// The smallest program with a window: it makes, shows, minimizes and hides
// one window and ends, the least any program with a window pays under Wine.
//   trivial_window.exe        ends at once
//   trivial_window.exe sleep  then sleeps 10 s: the working set of an idle
//                             process with a hidden window
#include <windows.h>

#include "bench/bench_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  HWND window = MakeBenchWindow(instance, "Trivial");
  ShowWindow(window, SW_SHOWNA);
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  ShowWindow(window, SW_HIDE);
  if (lstrcmpA(commandLine, "sleep") == 0) Sleep(10000);
  return 0;
}
