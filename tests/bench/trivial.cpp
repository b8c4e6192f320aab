// The smallest programs: the floor a process start costs under Wine.
//   trivial.exe          returns at once
//   trivial.exe window   first makes, shows, minimizes and hides one window,
//                        the least any program with a window pays
//   trivial.exe sleep    sleeps 10 s: the working set of an idle process
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (lstrcmpA(commandLine, "sleep") == 0) Sleep(10000);
  if (lstrcmpA(commandLine, "window") != 0) return 0;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "Trivial";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Trivial", "Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                250, 169, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNA);
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  ShowWindow(window, SW_HIDE);
  return 0;
}
