// The maker window's pieces inside the test process: the list box adapter
// against the vector model the list rules are tested with, the font every
// control carries, the error report's hold on the window, files dropped on
// the window and the list entries' context menu (a font handle, a drop and a
// menu's state mean nothing in another process).
#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/failure.h"
#include "common/win/com_init.h"
#include "maker/item_list.h"
#include "maker/shortcut_open.h"
#include "maker/win/item_handlers.h"
#include "maker/win/list_box_store.h"
#include "maker/win/main_window.h"
#include "maker/win/maker_form.h"
#include "maker/window_layout.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/maker_test_support.h"
#include "tests/wine/shortcut_file.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

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

// A shown maker window of this process, destroyed after the test.
class MakerWindowInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    window_.Show(SW_SHOWNORMAL);
  }
  void TearDown() override {
    DestroyWindow(window_.Handle());
    // Unloading the window asked this thread to quit; drop that request.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  HWND List() { return window_.Form().lstCmd(); }
  std::vector<std::wstring> Entries() { return window_.Form().Entries(); }

  MainWindow window_;
};

TEST_F(MakerWindowInProcess, EveryControlUsesTheTenPointTwoShiftJisFont) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  int controls = 0;
  for (HWND child = GetWindow(window_.Handle(), GW_CHILD); child != nullptr;
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
}

WNDPROC g_listBoxProc = nullptr;

// A list box that cannot count its items: any list button then fails.
LRESULT CALLBACK RefusingListBox(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_GETCOUNT) return LB_ERR;
  return CallWindowProcW(g_listBoxProc, hwnd, message, wParam, lParam);
}

// The error report blocks the window until OK: a disabled window takes no
// click and no key, so no handler runs again inside the report's message
// loop.
TEST_F(MakerWindowInProcess, ErrorReportBlocksTheWindowUntilOk) {
  g_listBoxProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(List(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingListBox)));
  HWND window = window_.Handle();
  std::atomic<bool> ownerDisabled{false}, owned{false};
  std::thread user([&] {
    HWND box = WaitForDialog(L"エラー - Kelmo Command line Maker");
    if (box == nullptr) return;
    ownerDisabled = !IsWindowEnabled(window);
    owned = GetWindow(box, GW_OWNER) == window;
    PressDialogButton(box, IDOK);
  });
  cmdList_Click(window_.Form(), 4);  // "リストクリア(&L)": fails, shows the report
  user.join();

  EXPECT_TRUE(ownerDisabled) << "the maker window took input under its report";
  EXPECT_TRUE(owned);
  EXPECT_TRUE(IsWindowEnabled(window)) << "the window stayed disabled after OK";
}

// A drop as the shell hands it to a window of this process: a DROPFILES
// block in movable global memory, which the receiver frees with DragFinish.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
  std::wstring names;
  for (const std::wstring& file : files) names += file + L'\0';
  names += L'\0';
  const std::size_t bytes = names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->pt = {40, 40};
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), bytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// A maker window of this process that files are dropped on.
class MakerDropInProcess : public MakerWindowInProcess {
 protected:
  // Drops `files` on the window, answering the boxes the drop shows; gives
  // the boxes once the handler has returned.
  std::vector<SeenDialog> Drop(const std::vector<std::wstring>& files,
                               std::vector<DialogAnswer> answers = {}) {
    DialogAnswerer answerer(GetCurrentProcessId(), std::move(answers));
    SendMessageW(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
    return answerer.Finish();
  }
  std::wstring Text() { return window_.Form().ProgramText(); }
  // All a refusal must leave as it was: the text, the list and its
  // selection, and whether each option button is checked and enabled.
  std::vector<std::wstring> State() {
    MakerForm& form = window_.Form();
    std::vector<std::wstring> state = Entries();
    state.push_back(Text());
    state.push_back(std::to_wstring(ListBoxStore(form.lstCmd()).Selection()));
    std::vector<HWND> options(form.optKelmoSet().begin(), form.optKelmoSet().end());
    options.insert(options.end(), form.optTimingSet().begin(), form.optTimingSet().end());
    options.insert(options.end(), form.optSizeSet().begin(), form.optSizeSet().end());
    std::wstring marks;
    for (HWND option : options) {
      marks += IsChecked(option) ? L'x' : L'-';
      marks += IsWindowEnabled(option) ? L'e' : L'd';
    }
    state.push_back(marks);
    return state;
  }

  ScopedComInitialization com_;
  ProbeDir dir_;
};

// A dropped program goes into the text box by its short path; of several
// files the first is used after a note; a dropped group replaces a list
// that holds entries only after Yes, and stays while entries are left.
TEST_F(MakerDropInProcess, DropsFillTheTextBoxOrReplaceTheListAfterAQuestion) {
  const ProbeCopy program = CopyProbeAs(dir_, L"program with a long name.exe");
  const ProbeCopy second = CopyProbeAs(dir_, L"second long named program.exe");
  EXPECT_TRUE(Drop({program.path}).empty());
  EXPECT_EQ(Text(), program.shortPath);
  const auto several = Drop({second.path, program.path}, {Press(IDOK)});
  ASSERT_EQ(several.size(), 1u);
  EXPECT_EQ(several[0].title, kDropTitle);
  EXPECT_TRUE(several[0].okOnly);
  EXPECT_EQ(several[0].text,
            L"複数のファイルがドロップされました。最初のファイルだけを使います。\r\n"
            L"「second long named program.exe」");
  EXPECT_EQ(Text(), second.shortPath);
  EXPECT_TRUE(Entries().empty()) << "a dropped program is not added";

  ListBoxStore(window_.Form().lstCmd()).Add(L"\"kept\"");
  const std::wstring group =
      WriteShortcut(dir_.File(L"group.lnk"), LauncherPath(), L" /wx:a.exe /b:b.exe");
  const auto no = Drop({group}, {Press(IDNO)});
  ASSERT_EQ(no.size(), 1u);
  EXPECT_EQ(no[0].title, kOpenTitle);
  EXPECT_TRUE(no[0].yesNo);
  EXPECT_EQ(no[0].text, L"現在のリストを「group.lnk」の内容に置き換えます。よろしいですか?");
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"\"kept\""}) << "No keeps the list";
  EXPECT_EQ(window_.Form().Launcher(), LauncherChoice::Standard);

  EXPECT_EQ(Drop({group, program.path}, {Press(IDOK), Press(IDYES)}).size(), 2u);
  EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"/wx:a.exe", L"/b:b.exe"}));
  EXPECT_EQ(window_.Form().Launcher(), LauncherChoice::KelmoPro);
  EXPECT_EQ(window_.Form().Group().OfferedName(), L"group");
  for (const wchar_t* offered : {L"group", L""}) {
    ListBoxStore(List()).SetSelection(0);
    cmdList_Click(window_.Form(), static_cast<int>(ListButton::Delete));
    EXPECT_EQ(window_.Form().Group().OfferedName(), offered);
  }
}

// A shortcut to an ordinary program, dragged in from the desktop: its
// program's short path, quoted, and its arguments fill the text box (not a
// switch kelmoPro would cut, while chosen); an installer's shortcut is the
// program itself; a variable in a target is expanded.
TEST_F(MakerDropInProcess, ProgramShortcutGivesItsProgramAndArgumentsToTheTextBox) {
  const ProbeCopy game = CopyProbeAs(dir_, L"a game with a long name.exe");
  const std::wstring lnk = WriteShortcut(dir_.File(L"ゲーム.lnk"), game.path, L"-window \"x y\"");
  EXPECT_TRUE(Drop({lnk}).empty());
  EXPECT_EQ(Text(), Quoted(game.shortPath) + L" -window \"x y\"");
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(window_.Form().Group().OfferedName(), L"") << "a program is no group";

  const std::wstring remote = WriteShortcut(dir_.File(L"remote.lnk"), game.path, L"/v:host");
  EXPECT_TRUE(Drop({remote}).empty()) << "the standard launcher cuts no switch";
  EXPECT_EQ(Text(), Quoted(game.shortPath) + L" /v:host");
  SendMessageW(window_.Form().optKelmoSet()[1], BM_CLICK, 0, 0);
  const auto refused = Drop({remote}, {Press(IDOK)});
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].title, kDropTitle);
  EXPECT_EQ(refused[0].text,
            L"「a game with a long name.exe」は取り込めません。\r\n取り込むと項目の中に「 /」"
            L"(空白とスラッシュ) ができ、kelmoPro がそこで項目を区切ってしまうためです。");
  EXPECT_EQ(Text(), Quoted(game.shortPath) + L" /v:host") << "the box keeps its text";
  HandMadeShortcut installed{game.path};
  installed.advertised = true;
  const std::wstring product = WriteHandMadeShortcut(dir_.File(L"product.lnk"), installed);
  EXPECT_TRUE(Drop({product}).empty());
  EXPECT_EQ(Text(), ShortPath(product));
  const std::wstring notepad =
      WriteEnvironmentShortcut(dir_.File(L"メモ帳.lnk"), L"%windir%\\system32\\notepad.exe");
  ASSERT_EQ(ReadShortcutTexts(notepad).target, L"%windir%\\system32\\notepad.exe");
  EXPECT_TRUE(Drop({notepad}).empty());
  EXPECT_EQ(Text(), L"C:\\windows\\system32\\notepad.exe");
}

// What a drop refuses, each with one message and the window as it was.
TEST_F(MakerDropInProcess, RefusedDropsSayWhyAndLeaveTheTextBoxAsItWas) {
  const ProbeCopy game = CopyProbeAs(dir_, L"game.exe");
  const ProgramFolder emptyFolder({}, dir_.File(L"a folder"));
  const std::wstring& folder = emptyFolder.path();
  const std::wstring notes = dir_.File(L"notes.txt");
  CreateReleaseFile(notes);
  const std::wstring broken = dir_.File(L"broken.lnk");
  ASSERT_TRUE(CopyFileW(notes.c_str(), broken.c_str(), FALSE));
  // A shortcut to a shell item that is no file: the computer itself.
  HandMadeShortcut computerItem;
  computerItem.shellItem = CSIDL_DRIVES;
  const std::wstring computer = WriteHandMadeShortcut(dir_.File(L"computer.lnk"), computerItem);
  const struct {
    const char* name;
    std::wstring file;
    const wchar_t* title;
    std::wstring text;
  } rows[] = {
      {"folder", folder, kDropTitle,
       L"「a folder」はフォルダーです。プログラムのファイルを指定してください。"},
      {"arguments outside the code page",
       WriteShortcut(dir_.File(L"korean.lnk"), game.path, L"-name \uD55C"), kDropTitle,
       L"「game.exe」のパスに、このコンピューターの文字コードで表せない文字が含まれているため、"
       L"実行コマンドに入れられません。"},
      {"missing program", WriteShortcut(dir_.File(L"gone.lnk"), dir_.File(L"gone.exe"), L""),
       kDropTitle, L"「gone.exe」が見つかりません。"},
      {"shell item", computer, kOpenTitle,
       L"「computer.lnk」のリンク先はファイルではないため、開けません。"},
      {"not a shortcut", broken, kOpenTitle,
       L"「broken.lnk」をショートカットとして読み込めませんでした。\r\n"
       L"Kelmo Command line Maker で作成したショートカットを指定してください。"},
  };
  // A window far from its first state: kelmoPro with other options, a list
  // with a selection, and a text.
  MakerForm& form = window_.Form();
  for (HWND option : {form.optKelmoSet()[1], form.optTimingSet()[2], form.optSizeSet()[4]}) {
    SendMessageW(option, BM_CLICK, 0, 0);
  }
  ASSERT_EQ(form.Launcher(), LauncherChoice::KelmoPro);
  ASSERT_TRUE(IsChecked(form.optSizeSet()[4]));
  ListBoxStore(form.lstCmd()).Add(L"/b:a.exe");
  ListBoxStore(form.lstCmd()).Add(L"/w:b.exe");
  ListBoxStore(form.lstCmd()).SetSelection(1);
  form.SetProgramText(L"typed before");
  const std::vector<std::wstring> before = State();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const auto seen = Drop({r.file}, {Press(IDOK)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, r.title);
    EXPECT_EQ(seen[0].text, r.text);
    EXPECT_TRUE(seen[0].okOnly);
    EXPECT_EQ(State(), before);
  }
}

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

// What a menu of this process looked like before `key` chose from it.
// The items in the menu's order.
enum MenuItem {
  kGraceItem,
  kPauseItem,
  kTreeItem,
  kReadyItem,
  kByNameItem,
  kHiddenItem,
  kMenuItems
};
struct SeenMenu {
  bool shown = false;
  UINT state[kMenuItems] = {};  // GetMenuState of each item
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
  static HWND FindMenu() {
    for (HWND window : TopLevelWindows(GetCurrentProcessId())) {
      if (ClassName(window) == L"#32768" && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }
  void Run(wchar_t key) {
    while (!stop_) {
      if (HWND menuWindow = FindMenu()) {
        auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, kGetMenuHandle, 0, 0));
        seen_.shown = true;
        for (int item = 0; item < kMenuItems; ++item) {
          seen_.state[item] = GetMenuState(menu, item, MF_BYPOSITION);
        }
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

// The list entries' context menu: WM_CONTEXTMENU as a right click and as
// the keyboard send it, the menu's items as shown, and the entry that the
// choice leaves.
class MakerEntryMenuWine : public MakerWindowInProcess {
 protected:
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
    ListBoxStore(List()).SetSelection(index);
    MenuChooser chooser(key);
    SendMessageW(List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), keyboard);
    return chooser.Finish();
  }
  // A right click at `at` in the list box's client area.
  SeenMenu ClickMenu(POINT at, wchar_t key) {
    ClientToScreen(List(), &at);
    MenuChooser chooser(key);
    SendMessageW(List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(at.x, at.y));
    return chooser.Finish();
  }
  // A right click in the middle of entry `index`.
  SeenMenu ClickMenu(int index, wchar_t key) {
    RECT item = {};
    SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    return ClickMenu(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}, key);
  }
  int Selection() { return ListBoxStore(List()).Selection(); }
};

TEST_F(MakerEntryMenuWine, EachItemChangesTheChosenEntry) {
  Open(LauncherChoice::KelmoPro, {L"/c:chat.exe", L"/wx:game.exe", L"/b:before.exe"});

  DialogAnswerer box(GetCurrentProcessId(), {TypeAndOk(L"5")});
  SeenMenu seen = KeyboardMenu(0, L's', -1);
  ASSERT_TRUE(box.WaitForAnswered(1));
  const auto boxes = box.Finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"終了までの猶予");
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.state[kGraceItem] & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_EQ(seen.state[kTreeItem] & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_NE(seen.state[kPauseItem] & MF_GRAYED, 0u) << "a companion gets no pause";
  EXPECT_EQ(seen.state[kReadyItem] & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_EQ(Entries()[0], L"/c5:chat.exe");
  EXPECT_EQ(Selection(), 0);

  seen = ClickMenu(1, L'g');
  EXPECT_NE(seen.state[kGraceItem] & MF_GRAYED, 0u) << "a waited entry gets no grace";
  EXPECT_NE(seen.state[kReadyItem] & MF_GRAYED, 0u) << "nor readiness: its end is waited for";
  EXPECT_EQ(seen.state[kTreeItem] & (MF_GRAYED | MF_CHECKED), 0u);
  EXPECT_EQ(Entries()[1], L"/wgx:game.exe");
  EXPECT_EQ(Selection(), 1) << "the click selects the entry it is on";

  seen = KeyboardMenu(1, L'g');
  EXPECT_NE(seen.state[kTreeItem] & MF_CHECKED, 0u);
  EXPECT_EQ(Entries()[1], L"/wx:game.exe");
  // p follows the waited program by name instead, and greys g; h hides any entry.
  EXPECT_EQ(KeyboardMenu(1, L'n').state[kByNameItem] & (MF_GRAYED | MF_CHECKED), 0u);
  seen = KeyboardMenu(1, L'h');
  EXPECT_NE(seen.state[kByNameItem] & MF_CHECKED, 0u);
  EXPECT_NE(seen.state[kTreeItem] & MF_GRAYED, 0u) << "with p, g is passed over";
  EXPECT_EQ(seen.state[kHiddenItem] & (MF_GRAYED | MF_CHECKED), 0u);

  // A before entry takes a pause and readiness; g counts once it is held.
  DialogAnswerer pause(GetCurrentProcessId(), {TypeAndOk(L"10")});
  seen = KeyboardMenu(2, L'p');
  EXPECT_EQ(pause.Finish().at(0).title, L"次の起動までの待ち時間");
  EXPECT_NE(seen.state[kTreeItem] & MF_GRAYED, 0u);
  EXPECT_NE(seen.state[kByNameItem] & MF_GRAYED, 0u) << "a before program is started, not followed";
  EXPECT_EQ(KeyboardMenu(2, L'r').state[kTreeItem] & MF_GRAYED, 0u);
  EXPECT_EQ(Entries(),
            (std::vector<std::wstring>{L"/c5:chat.exe", L"/whp:game.exe", L"/b10r:before.exe"}));
  EXPECT_NE(KeyboardMenu(2, L'r').state[kReadyItem] & MF_CHECKED, 0u);
  EXPECT_EQ(Entries()[2], L"/b10:before.exe") << "the checked item switches readiness off";
}

// The box starts with the entry's seconds; Cancel, a text that is no number,
// and 0 behave as the box says. A change that would cut an entry in two is
// refused with a box that says why; a switch in the program text is none.
TEST_F(MakerEntryMenuWine, TheGraceBoxCancelsRefusesAndRemoves) {
  Open(LauncherChoice::KelmoPro, {L"/cg30:chat.exe", L"/c 5/:a.exe", L"/c:cmd.exe /k dir"});
  std::wstring offered;
  const DialogAnswer readThenCancel = [&offered](HWND dialog) {
    offered = WindowText(FindEdit(dialog));
    Press(IDCANCEL)(dialog);
  };
  DialogAnswerer boxes(GetCurrentProcessId(), {readThenCancel, TypeAndOk(L"abc"), TypeAndOk(L"0"),
                                               TypeAndOk(L"0"), Press(IDOK), TypeAndOk(L"5")});
  KeyboardMenu(0, L's');
  EXPECT_EQ(offered, L"30");
  EXPECT_EQ(Entries()[0], L"/cg30:chat.exe");
  KeyboardMenu(0, L's');
  EXPECT_EQ(Entries()[0], L"/cg30:chat.exe");
  KeyboardMenu(0, L's');
  EXPECT_EQ(Entries()[0], L"/cg:chat.exe");
  KeyboardMenu(1, L's');
  KeyboardMenu(2, L's');
  const auto seen = boxes.Finish();
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[4].title, kEntryChangeTitle);
  EXPECT_EQ(seen[4].text,
            L"「/c 5/:a.exe」は変更できません。\r\n変更すると項目の中に「 /」(空白とスラッシュ) "
            L"ができ、kelmoPro がそこで項目を区切ってしまうためです。");
  EXPECT_EQ(Entries(),
            (std::vector<std::wstring>{L"/cg:chat.exe", L"/c 5/:a.exe", L"/c5:cmd.exe /k dir"}));
}

// No menu for the standard launcher's entries, nor below the last entry.
TEST_F(MakerEntryMenuWine, NoMenuWhereNothingApplies) {
  Open(LauncherChoice::Standard, {L"\"C:\\chat.exe\""});
  EXPECT_FALSE(KeyboardMenu(0, VK_ESCAPE).shown);
  Open(LauncherChoice::KelmoPro, {L"/c:chat.exe"});
  RECT client = {};
  GetClientRect(List(), &client);
  EXPECT_FALSE(ClickMenu(POINT{5, client.bottom - 2}, VK_ESCAPE).shown);
  EXPECT_EQ(Entries()[0], L"/c:chat.exe");
}

}  // namespace
}  // namespace kelmo
