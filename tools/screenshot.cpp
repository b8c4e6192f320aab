// screenshot.exe "<window title>" <file.bmp>
// Waits (at most 15 s) for a visible top-level window with that title, lets
// it paint, and saves the window's screen area as a 24-bit BMP. A path that
// starts with "/" is taken as a Unix path (Wine's drive Z:).
// Exit code 0 on success, 1 when no such window appeared, 2 on any other failure.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

HWND FindVisibleWindow(const std::wstring& title) {
  HWND window = FindWindowW(nullptr, title.c_str());
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

std::wstring WindowsPath(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return L"Z:" + path;
}

bool WriteBmp(const std::wstring& path, int width, int height,
              const std::vector<unsigned char>& pixels) {
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows, as GetDIBits gives them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = header.bfOffBits + info.biSizeImage;

  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, &header, sizeof(header), &written, nullptr) &&
            WriteFile(file, &info, sizeof(info), &written, nullptr) &&
            WriteFile(file, pixels.data(), info.biSizeImage, &written, nullptr);
  CloseHandle(file);
  return ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3) return 2;
  const std::wstring title = argv[1];
  const std::wstring path = WindowsPath(argv[2]);
  LocalFree(argv);

  HWND window = nullptr;
  const ULONGLONG deadline = GetTickCount64() + 15000;
  while ((window = FindVisibleWindow(title)) == nullptr && GetTickCount64() < deadline) Sleep(50);
  if (window == nullptr) return 1;

  // Repaint the window and its controls synchronously, then give the
  // screen a moment to show what was painted.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  Sleep(500);

  RECT bounds = {};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return 2;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const int stride = ((width * 3) + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) *
                                    static_cast<std::size_t>(height));
  const int rows =
      GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) return 2;
  return WriteBmp(path, width, height, pixels) ? 0 : 2;
}
