// The maker's error report blocks the maker window until OK: the window is
// disabled while the box is up, so no click or key reaches a handler.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "maker/item_handlers.h"
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

TEST(MakerErrorReportWine, ReportBlocksTheMakerWindowUntilOk) {
  MainWindow window;
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  window.Show(SW_SHOWNORMAL);
  HWND list = FindWindowExW(window.Handle(), nullptr, L"ListBox", nullptr);
  ASSERT_NE(list, nullptr);
  g_listBoxProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingListBox)));

  // A disabled window takes no click and no key: that is what keeps the
  // handlers from running again inside the report's message loop.
  std::atomic<bool> ownerDisabled{false}, owned{false};
  std::thread user([&] {
    HWND box = WaitForDialog(L"エラー - Kelmo Command line Maker");
    if (box == nullptr) return;
    ownerDisabled = !IsWindowEnabled(window.Handle());
    owned = GetWindow(box, GW_OWNER) == window.Handle();
    PressDialogButton(box, IDOK);
  });
  cmdList_Click(window.Form(), 4);  // "リストクリア(&L)": fails, shows the report
  user.join();

  EXPECT_TRUE(ownerDisabled) << "the maker window took input under its report";
  EXPECT_TRUE(owned);
  EXPECT_TRUE(IsWindowEnabled(window.Handle())) << "the window stayed disabled after OK";

  SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listBoxProc));
  if (IsWindow(window.Handle())) DestroyWindow(window.Handle());
  // Unloading the window asked this thread to quit; drop that request.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace kelmo
