// The real kelmoCM.exe driven from outside, as a user or an accessibility
// tool would see it: its window, its controls, the composer and list
// buttons, the keyboard, and how it ends.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/maker_window_expected.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/maker_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;
using Items = std::vector<std::wstring>;

LONG Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// The frames and option buttons of timing and size: enabled for kelmoPro only.
constexpr const wchar_t* kOptionCaptions[] = {
    // timing
    L"実行タイミング設定", L"前(&B)", L"待機対象(&W)", L"後(&A)", L"同期(&T)",
    // size
    L"実行時サイズ設定", L"標準(&D)", L"最小(&M)", L"最大(&X)", L"通常(&N)",
    L"非アクティブ最小(&I)", L"非アクティブ通常(&O)"};

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Text:
      return L"Edit";
    case ControlKind::List:
      return L"ListBox";
    case ControlKind::Label:
      return L"Static";
    default:
      return L"Button";
  }
}

void CheckWindowAndControls(int dpi);

// The hand-worked pixels exist for 96 and 120 dpi: the window is checked at both.
TEST(MakerWindowWine, IsAFixedCentredWindowWithEveryControlOfTheTableInTabOrder) {
  for (const int dpi : {96, 120}) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    const ScopedScreenDpi screenDpi(static_cast<DWORD>(dpi));
    CheckWindowAndControls(dpi);
  }
}

void CheckWindowAndControls(int dpi) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  HWND window = maker.window();

  // A caption, system menu and minimize box; no sizing border, no maximize box.
  EXPECT_EQ(
      Style(window) & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
      WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(GetMenu(window), nullptr);

  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, dpi == 96 ? kClientWidthAt96 : kClientWidthAt120);
  EXPECT_EQ(client.bottom, dpi == 96 ? kClientHeightAt96 : kClientHeightAt120);

  RECT bounds = {};
  GetWindowRect(window, &bounds);
  EXPECT_LE(std::abs((bounds.left + bounds.right) - GetSystemMetrics(SM_CXSCREEN)), 1) << "centred";
  EXPECT_LE(std::abs((bounds.top + bounds.bottom) - GetSystemMetrics(SM_CYSCREEN)), 1) << "centred";

  // Every control is a child of the window, created in tab order, with its
  // class, caption, kind of button and place.
  const std::vector<HWND> children = maker.Children();
  ASSERT_EQ(children.size(), kExpectedControl.size());
  for (std::size_t i = 0; i < kExpectedControl.size(); ++i) {
    const ExpectedControl& want = kExpectedControl[i];
    HWND control = children[i];
    SCOPED_TRACE("tab " + std::to_string(i) + " " + Narrow(want.name));
    EXPECT_EQ(_wcsicmp(ClassName(control).c_str(), ClassOf(want.kind)), 0)
        << Narrow(ClassName(control));
    EXPECT_EQ(WindowText(control), want.caption);
    EXPECT_TRUE(IsWindowVisible(control));
    const LONG type = Style(control) & BS_TYPEMASK;
    if (want.kind == ControlKind::Frame) {
      EXPECT_EQ(type, BS_GROUPBOX);
    } else if (want.kind == ControlKind::Option) {
      EXPECT_EQ(type, BS_AUTORADIOBUTTON);
    } else if (want.kind == ControlKind::Command) {
      EXPECT_EQ(type, BS_PUSHBUTTON) << "no button is the default";
    }

    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    const PixelEdges& edges = dpi == 96 ? want.at96 : want.at120;
    EXPECT_EQ(std::make_tuple(place.left, place.top, place.right, place.bottom),
              std::make_tuple(edges.left, edges.top, edges.right, edges.bottom));
  }

  HWND list = maker.List();
  EXPECT_FALSE(Style(list) & LBS_SORT) << "entries stay in insertion order";
  EXPECT_TRUE(Style(list) & LBS_NOTIFY);
  EXPECT_FALSE(Style(list) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  HWND edit = maker.Edit();
  EXPECT_TRUE(Style(edit) & ES_AUTOHSCROLL);
  EXPECT_FALSE(Style(edit) & ES_MULTILINE);
  EXPECT_GE(static_cast<unsigned long>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEul)
      << "the text box has no length limit";
}

TEST(MakerWindowWine, StartsWithTheStandardLauncherAndTheOptionGroupsGreyedOut) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);

  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo(&S)")));
  EXPECT_FALSE(IsChecked(maker.Button(L"Kelmo Pro(&P)")));
  EXPECT_TRUE(IsWindowEnabled(maker.Button(L"Kelmo(&S)")));
  EXPECT_TRUE(IsWindowEnabled(maker.Button(L"Kelmo Pro(&P)")));
  for (const wchar_t* caption : kOptionCaptions) {
    SCOPED_TRACE(Narrow(caption));
    EXPECT_FALSE(IsWindowEnabled(maker.Button(caption)));
    const std::wstring text = caption;
    EXPECT_EQ(IsChecked(maker.Button(caption)), text == L"前(&B)" || text == L"標準(&D)");
  }
  for (const wchar_t* caption : {L"参照(&R)", L"追加(&E)", L"&^", L"&V", L"削除(&D)", L"&make",
                                 L"リストクリア(&L)", L"終了(&X)"}) {
    EXPECT_TRUE(IsWindowEnabled(maker.Button(caption))) << Narrow(caption);
  }
  EXPECT_EQ(ControlText(maker.Edit()), L"");
  EXPECT_TRUE(ListItems(maker.List()).empty());
  EXPECT_EQ(ListSelection(maker.List()), -1);
  EXPECT_TRUE(maker.WaitForFocus(maker.Button(L"Kelmo(&S)")))
      << "focus on " << Narrow(WindowText(maker.Focus()));
}

TEST(MakerWindowWine, ComposesEntriesInTheChosenLaunchersForm) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  HWND edit = maker.Edit();

  EXPECT_EQ(maker.Add(L"notepad.exe"), (Items{L"\"notepad.exe\""}));
  EXPECT_EQ(ControlText(edit), L"") << "a successful add empties the text box";
  EXPECT_EQ(maker.Add(L" メモ帳.exe a.txt "),
            (Items{L"\"notepad.exe\"", L"\" メモ帳.exe a.txt \""}))
      << "spaces around the text are kept inside the quotes";
  EXPECT_EQ(maker.Add(L"   "), (Items{L"\"notepad.exe\"", L"\" メモ帳.exe a.txt \""}));
  EXPECT_EQ(ControlText(edit), L"   ") << "nothing added: the text box keeps its spaces";

  Click(maker.Button(L"Kelmo Pro(&P)"));
  EXPECT_EQ(maker.Add(L"notepad.exe", L"待機対象(&W)", L"最大(&X)"), (Items{L"/wx:notepad.exe"}));
  EXPECT_EQ(maker.Add(L"notepad.exe", L"前(&B)", L"標準(&D)"),
            (Items{L"/wx:notepad.exe", L"/b:notepad.exe"}));
  SelectListItem(maker.List(), 0);
  EXPECT_EQ(maker.Add(L"tool.exe /q", L"同期(&T)", L"非アクティブ通常(&O)"),
            (Items{L"/wx:notepad.exe", L"/b:notepad.exe", L"/co:tool.exe /q"}))
      << "a space and slash in the program text is written unchanged";
  EXPECT_EQ(ListSelection(maker.List()), 0) << "add leaves the selection alone";
  EXPECT_FALSE(IsChecked(maker.Button(L"前(&B)"))) << "the timing options are one exclusive group";
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo Pro(&P)"))) << "the groups do not clear each other";
}

TEST(MakerWindowWine, ChoosingTheLauncherSwitchesTheOptionGroupsAndKelmoProEmptiesTheList) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  auto allEnabled = [&](bool enabled) {
    for (const wchar_t* caption : kOptionCaptions) {
      if ((IsWindowEnabled(maker.Button(caption)) != FALSE) != enabled) return false;
    }
    return true;
  };

  maker.Add(L"a.exe");
  maker.Add(L"b.exe");
  SelectListItem(maker.List(), 1);
  Click(maker.Button(L"Kelmo Pro(&P)"));
  EXPECT_TRUE(ListItems(maker.List()).empty());
  EXPECT_EQ(ListSelection(maker.List()), -1);
  EXPECT_TRUE(allEnabled(true));
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo Pro(&P)")));
  EXPECT_FALSE(IsChecked(maker.Button(L"Kelmo(&S)")));

  EXPECT_EQ(maker.Add(L"c.exe", L"後(&A)", L"最小(&M)"), (Items{L"/am:c.exe"}));
  Click(maker.Button(L"Kelmo(&S)"));
  EXPECT_EQ(ListItems(maker.List()), (Items{L"/am:c.exe"}))
      << "the standard launcher keeps the list";
  EXPECT_TRUE(allEnabled(false));
  EXPECT_TRUE(IsChecked(maker.Button(L"後(&A)"))) << "disabled groups keep their selection";
  EXPECT_TRUE(IsChecked(maker.Button(L"最小(&M)")));
  EXPECT_EQ(maker.Add(L"d.exe"), (Items{L"/am:c.exe", L"\"d.exe\""}))
      << "disabled groups are ignored";

  Click(maker.Button(L"Kelmo Pro(&P)"));
  EXPECT_EQ(maker.Add(L"e.exe"), (Items{L"/am:e.exe"})) << "their selection counts again";
  Click(maker.Button(L"Kelmo Pro(&P)"));
  EXPECT_EQ(ListItems(maker.List()), (Items{L"/am:e.exe"}))
      << "clicking the chosen Kelmo Pro again changes nothing";
}

// Each list button reaches its list operation with the list box's selection;
// the rules for every case are the list model's (native tests), which the
// list box adapter follows (ListBoxStoreWine).
TEST(MakerWindowWine, ListButtonsMoveDeleteAndClearTheSelectedEntry) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  HWND list = maker.List();
  for (const wchar_t* text : {L"a", L"b", L"c", L"d"}) maker.Add(text);
  const Items abcd = {L"\"a\"", L"\"b\"", L"\"c\"", L"\"d\""};
  ASSERT_EQ(ListItems(list), abcd);
  const struct {
    const wchar_t* button;
    int select;  // the selection before the click; -1 none
    Items after;
    int selection;
  } steps[] = {
      {L"削除(&D)", -1, abcd, -1},
      {L"&V", 0, {L"\"b\"", L"\"a\"", L"\"c\"", L"\"d\""}, 1},
      {L"&^", 1, abcd, 0},
      {L"&^", 0, abcd, 0},
      {L"削除(&D)", 1, {L"\"a\"", L"\"c\"", L"\"d\""}, 1},
      {L"削除(&D)", 2, {L"\"a\"", L"\"c\""}, 1},
      {L"リストクリア(&L)", 1, {}, -1},
      // An empty list: no error report (Click fails if a box holds the handler).
      {L"リストクリア(&L)", -1, {}, -1},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(Narrow(step.button) + " with " + std::to_string(step.select) + " selected");
    SelectListItem(list, step.select);
    Click(maker.Button(step.button));
    EXPECT_EQ(ListItems(list), step.after);
    EXPECT_EQ(ListSelection(list), step.selection);
  }
}

TEST(MakerWindowWine, TabFollowsTheTableAndSkipsDisabledControls) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"Kelmo(&S)")));
  auto tabThrough = [&](const std::vector<HWND>& expected) {
    for (HWND next : expected) {
      maker.PostKey(VK_TAB);
      ASSERT_TRUE(maker.WaitForFocus(next)) << "expected " << Narrow(WindowText(next))
                                            << ", focus on " << Narrow(WindowText(maker.Focus()));
    }
  };
  tabThrough({maker.Edit(), maker.Button(L"参照(&R)"), maker.Button(L"追加(&E)"), maker.List(),
              maker.Button(L"&^"), maker.Button(L"&V"), maker.Button(L"削除(&D)"),
              maker.Button(L"&make"), maker.Button(L"リストクリア(&L)"), maker.Button(L"終了(&X)"),
              maker.Button(L"Kelmo(&S)")});

  // With Kelmo Pro, Tab reaches each option group through its selected button,
  // and the arrow keys move the selection within a group.
  Click(maker.Button(L"Kelmo Pro(&P)"));
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"Kelmo Pro(&P)")));
  tabThrough({maker.Button(L"前(&B)")});
  maker.PostKey(VK_RIGHT);
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"待機対象(&W)")));
  EXPECT_TRUE(IsChecked(maker.Button(L"待機対象(&W)")));
  EXPECT_FALSE(IsChecked(maker.Button(L"前(&B)")));
  tabThrough({maker.Button(L"標準(&D)"), maker.Edit()});
}

TEST(MakerWindowWine, AccessKeysReachTheTextBoxThroughItsLabelAndSharedKeysTheEnabledControl) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"Kelmo(&S)")));
  maker.PostAltKey(L'c');
  EXPECT_TRUE(maker.WaitForFocus(maker.Edit())) << "focus on " << Narrow(WindowText(maker.Focus()));

  // D is "標準(&D)" and "削除(&D)": with the size group disabled, the delete button alone.
  maker.Add(L"a");
  maker.Add(L"b");
  SelectListItem(maker.List(), 0);
  maker.PostAltKey(L'd');
  EXPECT_TRUE(WaitUntil([&] { return ListItems(maker.List()) == Items{L"\"b\""}; }, 5000));
  EXPECT_TRUE(IsChecked(maker.Button(L"標準(&D)")));

  // An option's access key selects it, and Kelmo Pro's handler runs.
  maker.PostAltKey(L'p');
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(maker.Button(L"Kelmo Pro(&P)")); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return ListItems(maker.List()).empty(); }, 5000));
  EXPECT_TRUE(IsWindowEnabled(maker.Button(L"前(&B)")));
}

// M is "最小(&M)" and "&make". The dialog's rule for a repeated access key:
// the search starts at the focused control and takes the first enabled
// control with that key in tab order from there.
TEST(MakerWindowWine, AltMPressesMakeWhileTheSizeGroupIsDisabledAndSelectsMinimizedOtherwise) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"Kelmo(&S)")));
  auto altMOpensMake = [&] {
    DialogAnswerer boxes(maker.processId(), {Press(IDCANCEL), Press(IDYES)});
    maker.PostAltKey(L'm');
    EXPECT_TRUE(boxes.WaitForAnswered(2));
    const std::vector<SeenDialog> seen = boxes.Finish();
    return seen.size() == 2 && seen[0].title == kPromptTitle && seen[1].title == kFailureTitle;
  };
  maker.Add(L"a.exe");
  EXPECT_TRUE(altMOpensMake()) << "size group disabled: the make button alone has M";

  Click(maker.Button(L"Kelmo Pro(&P)"));
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"Kelmo Pro(&P)")));
  maker.PostAltKey(L'm');
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(maker.Button(L"最小(&M)")); }, 5000));
  EXPECT_FALSE(IsChecked(maker.Button(L"標準(&D)")));
  EXPECT_TRUE(maker.WaitForFocus(maker.Button(L"最小(&M)")));

  maker.Add(L"a.exe");
  maker.PostAltKey(L'c');
  ASSERT_TRUE(maker.WaitForFocus(maker.Edit()));
  EXPECT_TRUE(altMOpensMake()) << "from the text box the next control with M is the make button";
}

TEST(MakerWindowWine, EndsWithoutAskingOnItsExitButtonEscAndTheCloseBox) {
  const struct {
    const char* how;
    void (*end)(const MakerProcess& maker);
  } ways[] = {
      {"exit button", [](const MakerProcess& m) { PostClick(m.Button(L"終了(&X)")); }},
      {"Esc", [](const MakerProcess& m) { m.PostKey(VK_ESCAPE); }},
      {"close box", [](const MakerProcess& m) { PostMessageW(m.window(), WM_CLOSE, 0, 0); }},
      // X is also "最大(&X)", disabled at start: Alt+X is the exit button's.
      {"Alt+X", [](const MakerProcess& m) { m.PostAltKey(L'x'); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    MakerProcess maker;
    ASSERT_NE(maker.window(), nullptr);
    maker.Add(L"notepad.exe");  // items in the list do not hold the program
    way.end(maker);
    EXPECT_EQ(maker.WaitForExit(), std::optional<DWORD>(0));
  }
}

TEST(MakerWindowWine, EnterPressesTheFocusedButtonAndNothingElse) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  maker.PostAltKey(L'c');
  ASSERT_TRUE(maker.WaitForFocus(maker.Edit()));
  SetText(maker.Edit(), L"notepad.exe");
  maker.PostKey(VK_RETURN);
  // Keys are handled in order: once Tab has moved on, Enter has been handled.
  maker.PostKey(VK_TAB);
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"参照(&R)")));
  maker.PostKey(VK_TAB);
  ASSERT_TRUE(maker.WaitForFocus(maker.Button(L"追加(&E)")));
  EXPECT_TRUE(ListItems(maker.List()).empty()) << "Enter in the text box adds nothing";
  EXPECT_EQ(ControlText(maker.Edit()), L"notepad.exe");

  maker.PostKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return ListItems(maker.List()) == Items{L"\"notepad.exe\""}; }, 5000))
      << "Enter on the focused add button adds";
  EXPECT_EQ(ControlText(maker.Edit()), L"");
}

}  // namespace
}  // namespace kelmo
