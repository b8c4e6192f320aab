#include "launcher/win/launcher_window.h"

#include "launcher/win/resource.h"

namespace kelmo {

namespace {

int TwipsToPixels(int twips, int dotsPerInch) { return MulDiv(twips, dotsPerInch, 1440); }

// The window's user data is 1 once the session ends.
LRESULT CALLBACK LauncherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message == WM_ENDSESSION) {
    if (wParam) SetWindowLongPtrW(window, GWLP_USERDATA, 1);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateLauncherWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = LauncherWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KELMOPRO));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_KELMOPRO), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kLauncherWindowClass;
  RegisterClassExW(&windowClass);

  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  RECT frame = {0, 0, TwipsToPixels(kLauncherClientWidthTwips, dpiX),
                TwipsToPixels(kLauncherClientHeightTwips, dpiY)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  return CreateWindowExW(0, kLauncherWindowClass, kLauncherWindowCaption, kStyle, CW_USEDEFAULT,
                         CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                         nullptr, instance, nullptr);
}

void MoveWindowLeftOfScreen(HWND window) {
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  SetWindowPos(window, nullptr, -width, bounds.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SessionIsEnding(HWND window) {
  return GetWindowLongPtrW(window, GWLP_USERDATA) != 0 || GetSystemMetrics(SM_SHUTTINGDOWN) != 0;
}

}  // namespace kelmo
