// The smallest program with a window: it makes, shows, minimizes and hides
// one window and ends, the least any program with a window pays under Wine.
//   trivial_window.exe        ends at once
//   trivial_window.exe sleep  then sleeps 10 s: the working set of an idle
//                             process with a hidden window
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "Trivial";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Trivial", "Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 250, 169, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNA);
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  ShowWindow(window, SW_HIDE);
  if (lstrcmpA(commandLine, "sleep") == 0) Sleep(10000);
  return 0;
}
