// The one window the benchmark's window programs make: the launcher's
// caption, style and 96-DPI size, placed by the platform's default position.
#pragma once

#include <windows.h>

inline HWND MakeBenchWindow(HINSTANCE instance, const char* className) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, className, "Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         250, 169, nullptr, nullptr, instance, nullptr);
}
