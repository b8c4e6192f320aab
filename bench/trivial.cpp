// The smallest program: the floor a process start costs under Wine. It
// imports kernel32 alone (no user32), like any program before its first window.
//   trivial.exe          returns at once
//   trivial.exe sleep    sleeps 10 s: the working set of an idle process
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (lstrcmpA(commandLine, "sleep") == 0) Sleep(10000);
  return 0;
}
