// The maker window's pieces inside the test process: the list box adapter
// against the vector model the list rules are tested with, and the font
// every control carries (a font handle means nothing in another process).
#include <gtest/gtest.h>

#include <string>

#include "common/failure.h"
#include "maker/item_list.h"
#include "maker/list_box_store.h"
#include "maker/main_window.h"
#include "maker/window_layout.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

struct ListBoxWindow {
  ListBoxWindow()
      : hwnd(CreateWindowExW(0, L"ListBox", L"", WS_POPUP | LBS_NOTIFY, 0, 0, 200, 200, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~ListBoxWindow() { DestroyWindow(hwnd); }
  HWND hwnd;
};

// The same button presses on the real list box and on ItemListModel leave
// the same entries and the same selection: the model the list rules are
// tested with behaves like the list box the window uses.
TEST(ListBoxStoreWine, FollowsTheVectorModelStepByStep) {
  ListBoxWindow box;
  ASSERT_NE(box.hwnd, nullptr);
  ListBoxStore real(box.hwnd);
  ItemListModel model;
  unsigned seed = 12345;
  auto next = [&](unsigned range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  int added = 0;
  for (int step = 0; step < 400; ++step) {
    const int button = static_cast<int>(next(9));  // adds more often than clears
    const int listButton = button >= 5 ? 0 : button;
    const std::wstring entry = next(4) == 0 ? L"" : L"/b:項目 " + std::to_wstring(++added) + L" ";
    const int select = static_cast<int>(next(static_cast<unsigned>(model.Count()) + 2)) - 1;
    real.SetSelection(select);
    model.SetSelection(select);
    int realCleared = 0, modelCleared = 0;
    ApplyListButton(
        real, listButton, [&] { return entry; }, [&] { ++realCleared; });
    ApplyListButton(
        model, listButton, [&] { return entry; }, [&] { ++modelCleared; });
    SCOPED_TRACE("step " + std::to_string(step) + " button " + std::to_string(listButton));
    ASSERT_EQ(real.Count(), model.Count());
    for (int i = 0; i < model.Count(); ++i) ASSERT_EQ(real.Text(i), model.Text(i));
    ASSERT_EQ(real.Selection(), model.Selection());
    ASSERT_EQ(realCleared, modelCleared);
  }
}

TEST(ListBoxStoreWine, RefusedOperationsAreFailuresNotSilentNoOps) {
  ListBoxWindow box;
  ListBoxStore list(box.hwnd);
  list.Add(L"a");
  EXPECT_THROW(list.Text(1), Failure);
  EXPECT_THROW(list.Remove(1), Failure);
  EXPECT_THROW(list.Insert(2, L"x"), Failure);
  EXPECT_THROW(list.Insert(-1, L"x"), Failure) << "-1 would append in a list box";
  list.Insert(1, L"b");
  list.SetSelection(0);
  list.SetSelection(5);
  EXPECT_EQ(list.Selection(), -1) << "an index past the end clears the selection, as in the model";
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Text(1), L"b");
}

TEST(MakerWindowInProcessWine, EveryControlUsesTheTenPointTwoShiftJisFont) {
  MainWindow window;
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  int controls = 0;
  for (HWND child = GetWindow(window.Handle(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ++controls;
    auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    LOGFONTW info = {};
    ASSERT_EQ(GetObjectW(font, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_STREQ(info.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(info.lfHeight, -MulDiv(102, dpi, 720));
    EXPECT_EQ(info.lfWeight, 400);
    EXPECT_EQ(info.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_FALSE(info.lfItalic || info.lfUnderline || info.lfStrikeOut);
  }
  EXPECT_EQ(controls, static_cast<int>(kMakerControlCount));
  DestroyWindow(window.Handle());
  // Unloading the window asked this thread to quit; drop that request.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace kelmo
