// Keeps the Wine session's desktop up. Wine's desktop process (explorer)
// quits a moment after the last window of the session has gone, and the next
// program that makes a window then waits for a new desktop (over 100 ms),
// which a Windows session, whose desktop is always there, never does. This
// program owns one hidden top-level window and runs until the session's
// wineserver is stopped.
//   desktop_keeper.exe [READY-FILE]   creates READY-FILE once the desktop is up
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR readyFile, int) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"KelmoDesktopKeeper";
  RegisterClassW(&windowClass);
  CreateWindowExW(WS_EX_TOOLWINDOW, L"KelmoDesktopKeeper", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                  nullptr, instance, nullptr);
  // The window exists, so the desktop process does too.
  if (readyFile != nullptr && readyFile[0] != '\0') {
    CloseHandle(CreateFileA(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
