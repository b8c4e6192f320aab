// The list entries' context menu in the real maker window, inside the test
// process: WM_CONTEXTMENU as a right click and as the keyboard send it, the
// menu's items as shown, and the entry that the choice leaves.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "maker/list_box_store.h"
#include "maker/main_window.h"
#include "maker/shortcut_open.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

// What a menu of this process looked like before `key` chose from it.
struct SeenMenu {
  bool shown = false;
  UINT graceState = 0;  // GetMenuState of the first item
  UINT treeState = 0;   // and of the second
};

// Watches for the popup menu of this process on a thread of its own, records
// its items and types `key` (a mnemonic, or VK_ESCAPE to dismiss it).
class MenuChooser {
 public:
  explicit MenuChooser(wchar_t key) : thread_([this, key] { Run(key); }) {}
  ~MenuChooser() { Finish(); }
  SeenMenu Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  static BOOL CALLBACK FindMenu(HWND hwnd, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != GetCurrentProcessId() || std::wstring(className) != L"#32768" ||
        !IsWindowVisible(hwnd)) {
      return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  void Run(wchar_t key) {
    while (!stop_) {
      HWND menuWindow = nullptr;
      EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&menuWindow));
      if (menuWindow != nullptr) {
        auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, kGetMenuHandle, 0, 0));
        seen_.shown = true;
        seen_.graceState = GetMenuState(menu, 0, MF_BYPOSITION);
        seen_.treeState = GetMenuState(menu, 1, MF_BYPOSITION);
        if (key == VK_ESCAPE) {
          PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
          PostMessageW(menuWindow, WM_CHAR, key, 0);
        }
        return;
      }
      Sleep(10);
    }
  }

  std::atomic<bool> stop_{false};
  SeenMenu seen_;
  std::thread thread_;
};

class MakerEntryMenuWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    window_.Show(SW_SHOWNORMAL);
    list_ = FindWindowExW(window_.Handle(), nullptr, L"ListBox", nullptr);
    ASSERT_NE(list_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_.Handle());
    // Unloading the window asked this thread to quit; drop that request.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  void Open(LauncherChoice launcher, std::vector<std::wstring> entries) {
    OpenedGroup group;
    group.launcher = launcher;
    group.entries = std::move(entries);
    window_.Form().ShowGroup(group);
  }
  // Shift+F10 or the menu key on entry `index`: WM_CONTEXTMENU with both
  // coordinates -1 (as -1 itself, or as its two 16-bit halves), sent to the
  // list box, which hands it to its parent.
  SeenMenu KeyboardMenu(int index, wchar_t key, LPARAM keyboard = MAKELPARAM(-1, -1)) {
    ListBoxStore(list_).SetSelection(index);
    MenuChooser chooser(key);
    SendMessageW(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), keyboard);
    return chooser.Finish();
  }
  // A right click in the middle of entry `index`.
  SeenMenu ClickMenu(int index, wchar_t key) {
    RECT item = {};
    SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list_, &at);
    MenuChooser chooser(key);
    SendMessageW(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), MAKELPARAM(at.x, at.y));
    return chooser.Finish();
  }
  std::vector<std::wstring> Entries() { return window_.Form().Entries(); }
  int Selection() const { return ListBoxStore(list_).Selection(); }

  MainWindow window_;
  HWND list_ = nullptr;
};

TEST_F(MakerEntryMenuWine, GraceAndTreeChangeTheChosenEntry) {
  Open(LauncherChoice::KelmoPro, {L"/c:chat.exe", L"/wx:game.exe", L"/b:before.exe"});

  DialogAnswerer box(GetCurrentProcessId(), {TypeAndOk(L"5")});
  SeenMenu seen = KeyboardMenu(0, L's', -1);
  ASSERT_TRUE(box.WaitForAnswered(1));
  const auto boxes = box.Finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"終了までの猶予");
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.graceState & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_EQ(seen.treeState & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_EQ(Entries()[0], L"/c5:chat.exe");
  EXPECT_EQ(Selection(), 0);

  seen = ClickMenu(1, L'g');
  EXPECT_NE(seen.graceState & MF_GRAYED, 0u) << "a waited entry gets no grace";
  EXPECT_EQ(seen.treeState & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_EQ(Entries()[1], L"/wgx:game.exe");
  EXPECT_EQ(Selection(), 1) << "the click selects the entry it is on";

  seen = KeyboardMenu(1, L'g');
  EXPECT_NE(seen.treeState & MF_CHECKED, 0u);
  EXPECT_EQ(Entries()[1], L"/wx:game.exe");

  seen = KeyboardMenu(2, VK_ESCAPE);
  EXPECT_NE(seen.graceState & MF_GRAYED, 0u);
  EXPECT_NE(seen.treeState & MF_GRAYED, 0u);
  EXPECT_EQ(Entries(),
            (std::vector<std::wstring>{L"/c5:chat.exe", L"/wx:game.exe", L"/b:before.exe"}));
}

// The box starts with the entry's seconds; Cancel, a text that is no number,
// and 0 behave as the box says.
TEST_F(MakerEntryMenuWine, TheGraceBoxCancelsRefusesAndRemoves) {
  Open(LauncherChoice::KelmoPro, {L"/cg30:chat.exe"});
  std::wstring offered;
  const DialogAnswer readThenCancel = [&offered](HWND dialog) {
    offered = WindowText(FindEdit(dialog));
    Press(IDCANCEL)(dialog);
  };
  DialogAnswerer boxes(GetCurrentProcessId(), {readThenCancel, TypeAndOk(L"abc"), TypeAndOk(L"0")});
  KeyboardMenu(0, L's');
  EXPECT_EQ(offered, L"30");
  EXPECT_EQ(Entries()[0], L"/cg30:chat.exe");
  KeyboardMenu(0, L's');
  EXPECT_EQ(Entries()[0], L"/cg30:chat.exe");
  KeyboardMenu(0, L's');
  EXPECT_EQ(Entries()[0], L"/cg:chat.exe");
  EXPECT_EQ(boxes.Finish().size(), 3u);
}

// No menu for the standard launcher's entries, nor below the last entry.
TEST_F(MakerEntryMenuWine, NoMenuWhereNothingApplies) {
  Open(LauncherChoice::Standard, {L"\"C:\\chat.exe\""});
  EXPECT_FALSE(KeyboardMenu(0, VK_ESCAPE).shown);
  Open(LauncherChoice::KelmoPro, {L"/c:chat.exe"});
  RECT client = {};
  GetClientRect(list_, &client);
  POINT below = {5, client.bottom - 2};
  ClientToScreen(list_, &below);
  MenuChooser chooser(VK_ESCAPE);
  SendMessageW(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_),
               MAKELPARAM(below.x, below.y));
  EXPECT_FALSE(chooser.Finish().shown);
  EXPECT_EQ(Entries()[0], L"/c:chat.exe");
}

}  // namespace
}  // namespace kelmo
