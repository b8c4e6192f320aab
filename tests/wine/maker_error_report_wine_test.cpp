// The maker's error report blocks the maker window until OK: the window is
// disabled while the box is up, and a click on it reaches no handler.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "maker/main_window.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

WNDPROC g_listBoxProc = nullptr;

// A list box that cannot count its items: any list button then fails.
LRESULT CALLBACK RefusingListBox(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_GETCOUNT) return LB_ERR;
  return CallWindowProcW(g_listBoxProc, hwnd, message, wParam, lParam);
}

POINT Centre(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A real left click at `point`, through the system's input queue.
void ClickAt(POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input[3] = {};
  for (INPUT& one : input) {
    one.type = INPUT_MOUSE;
    one.mi.dx = MulDiv(point.x, 65535, width);
    one.mi.dy = MulDiv(point.y, 65535, height);
    one.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  input[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof(INPUT));
}

TEST(MakerErrorReportWine, ReportBlocksTheMakerWindowUntilOk) {
  MainWindow window;
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  window.Show(SW_SHOWNORMAL);
  HWND list = FindWindowExW(window.Handle(), nullptr, L"ListBox", nullptr);
  HWND quit = GetDlgItem(window.Handle(), IDCANCEL);  // "終了(&X)"
  ASSERT_NE(list, nullptr);
  ASSERT_NE(quit, nullptr);
  g_listBoxProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingListBox)));

  std::atomic<bool> ownerDisabled{false}, owned{false}, quitUncovered{false};
  std::thread user([&] {
    HWND box = WaitForDialog(L"エラー - Kelmo Command line Maker");
    if (box == nullptr) return;
    ownerDisabled = !IsWindowEnabled(window.Handle());
    owned = GetWindow(box, GW_OWNER) == window.Handle();
    RECT boxRect = {};
    GetWindowRect(box, &boxRect);
    const POINT quitPoint = Centre(quit);
    quitUncovered = !PtInRect(&boxRect, quitPoint);
    // Both clicks go through one input queue in order: by the time the box
    // has taken its OK, the click on "終了(&X)" has been dealt with.
    ClickAt(quitPoint);
    HWND ok = GetDlgItem(box, IDOK);
    ClickAt(Centre(ok != nullptr ? ok : box));
    if (!WaitUntil([&] { return !IsWindow(box); }, 5000)) PressDialogButton(box, IDOK);
  });
  window.cmdList_Click(4);  // "リストクリア(&L)": fails, shows the report
  user.join();

  EXPECT_TRUE(ownerDisabled) << "the maker window took input under its report";
  EXPECT_TRUE(owned);
  ASSERT_TRUE(quitUncovered) << "the box covers the button the test clicks";
  EXPECT_TRUE(IsWindow(window.Handle())) << "a click under the report unloaded the window";
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));

  SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listBoxProc));
  if (IsWindow(window.Handle())) DestroyWindow(window.Handle());
  // Unloading the window asked this thread to quit; drop that request.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace kelmo
