// Opening a group again in the real kelmoCM.exe: a shortcut given as its
// argument, files it must refuse, the round trip from make through open to
// make again, and what a make of an opened group keeps. Drops on the window
// are tested in-process (maker_window_inprocess_wine_test.cpp).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/win/com_init.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/maker_test_support.h"
#include "tests/wine/shortcut_file.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

// The state a window has at start and keeps after a refused open.
void ExpectInitialState(const MakerProcess& maker) {
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo(&S)")));
  EXPECT_FALSE(IsWindowEnabled(maker.Button(L"前(&B)")));
  EXPECT_TRUE(ListItems(maker.List()).empty());
  EXPECT_EQ(ControlText(maker.Edit()), L"");
}

class MakerOpen : public ::testing::Test {
 protected:
  std::wstring Kelmo() const { return BinDir() + L"\\kelmo.exe"; }

  ScopedComInitialization com_;
  ProbeDir dir_;
};

// A hand-made kelmoPro group with the grammar's leniency: the list holds the
// pieces exactly as the launcher cuts them, each kept as its text, in order,
// also text the ANSI code page cannot hold (another tool wrote it in wide
// text); the option groups are enabled with their first choices and the
// text box stays empty.
TEST_F(MakerOpen, ArgumentOpensAHandMadeKelmoProGroupCutAsTheLauncherCutsIt) {
  const std::wstring lnk =
      WriteShortcut(dir_.File(L"hand made.lnk"), LauncherPath(),
                    L"  bn:first.exe /WX:C:\\a b\\calc.exe x:y /t:a.exe  /d:b.exe "
                    L"/w:C:\\caf\u00E9\\\uD55C.exe /bn:cmd.exe /k dir /  /a:\"q\" z");
  MakerProcess maker(BinDir(), Quoted(lnk));
  ASSERT_TRUE(maker.WaitForListSize(9));
  const std::vector<std::wstring> expected = {L"bn:first.exe",
                                              L"/WX:C:\\a b\\calc.exe x:y",
                                              L"/t:a.exe ",
                                              L"/d:b.exe",
                                              L"/w:C:\\caf\u00E9\\\uD55C.exe",
                                              L"/bn:cmd.exe",
                                              L"/k dir",
                                              L"/ ",
                                              L"/a:\"q\" z"};
  EXPECT_EQ(ListItems(maker.List()), expected);
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo Pro(&P)")));
  EXPECT_FALSE(IsChecked(maker.Button(L"Kelmo(&S)")));
  EXPECT_TRUE(IsWindowEnabled(maker.Button(L"実行タイミング設定")));
  EXPECT_TRUE(IsWindowEnabled(maker.Button(L"最大(&X)")));
  EXPECT_TRUE(IsChecked(maker.Button(L"前(&B)")));
  EXPECT_TRUE(IsChecked(maker.Button(L"標準(&D)")));
  EXPECT_EQ(ControlText(maker.Edit()), L"");
}

// The standard launcher's quoted entries, and files the maker must refuse
// when they are named on its command line: each refusal is one message and
// leaves the window as it was. Of several arguments (several files dropped
// on kelmoCM.exe) the first is opened.
TEST_F(MakerOpen, StandardGroupOpensAndOtherFilesAreRefusedWithAMessage) {
  const std::wstring notes = dir_.File(L"notes.txt");
  CreateReleaseFile(notes);
  const std::wstring notepad =
      WriteShortcut(dir_.File(L"メモ帳.lnk"), L"C:\\windows\\notepad.exe", L"/b:x");
  const struct {
    std::wstring arguments;
    std::size_t boxes;
  } rows[] = {{L"\"" + notes + L"\" \"" + LauncherPath() + L"\"", 2}, {L"\"" + notepad + L"\"", 1}};
  std::vector<SeenDialog> seen;
  for (const auto& row : rows) {
    MakerProcess maker(BinDir(), row.arguments);
    DialogAnswerer answerer(maker.processId(), {Press(IDOK), Press(IDOK)});
    ASSERT_TRUE(answerer.WaitForAnswered(row.boxes));
    ExpectInitialState(maker);
    for (const SeenDialog& box : answerer.Finish()) seen.push_back(box);
  }
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].title, kDropTitle);
  EXPECT_EQ(seen[0].text,
            L"複数のファイルがドロップされました。最初のファイルだけを使います。\r\n「notes.txt」");
  EXPECT_EQ(seen[1].title, kOpenTitle);
  EXPECT_EQ(seen[1].text,
            L"「notes.txt」をショートカットとして読み込めませんでした。\r\n"
            L"Kelmo Command line Maker で作成したショートカットを指定してください。");
  EXPECT_EQ(seen[2].title, kOpenTitle);
  EXPECT_EQ(seen[2].text,
            L"「メモ帳.lnk」は kelmo.exe または kelmoPro.exe "
            L"のショートカットではないため、開けません。\r\n"
            L"リンク先: C:\\windows\\notepad.exe");

  MakerProcess maker(BinDir(), Quoted(WriteShortcut(dir_.File(L"std.lnk"), Kelmo(),
                                                    L" \"C:\\a b.exe\" \"x:\"q\" y\"  \"z\"")));
  ASSERT_TRUE(maker.WaitForListSize(3));
  EXPECT_EQ(ListItems(maker.List()),
            (std::vector<std::wstring>{L"\"C:\\a b.exe\"", L"\"x:\"q\" y\" ", L"\"z\""}));
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo(&S)")));
  EXPECT_FALSE(IsWindowEnabled(maker.Button(L"前(&B)")));
}

// Answers the name prompt with the name it offers, noting what that was;
// with `typed`, types that instead.
DialogAnswer AcceptOfferedName(std::wstring& offered, const std::wstring& typed = L"") {
  return [&offered, typed](HWND dialog) {
    offered = ControlText(FindEdit(dialog));
    if (!typed.empty()) SetText(FindEdit(dialog), typed);
    PressDialogButton(dialog, IDOK);
  };
}

// Groups made in the maker's window, opened again (by a second maker started
// with the shortcut) and made again with the offered name after the first
// file was deleted: the second file holds byte for byte what the first did,
// whose arguments, read from the file's bytes, are the list's entries.
TEST_F(MakerOpen, GroupsMadeOpenedAndMadeAgainAreWrittenByteForByteAsBefore) {
  DesktopSnapshot desktop;
  // A short folder keeps the row at the limit possible wherever the build is.
  const ProgramFolder programs({L"kelmoCM.exe", L"kelmoPro.exe"});
  MakerProcess maker(programs.path());
  ASSERT_NE(maker.window(), nullptr);
  const std::wstring kelmoProTarget = programs.File(L"kelmoPro.exe");
  struct Row {
    const char* name;
    bool kelmoPro;
    // Program text, timing caption, size caption.
    std::vector<std::vector<std::wstring>> items;
  };
  std::vector<Row> rows = {
      {"before with every size",
       true,
       {{L"a.exe", L"前(&B)", L"標準(&D)"},
        {L"b.exe", L"前(&B)", L"最小(&M)"},
        {L"c.exe", L"前(&B)", L"最大(&X)"},
        {L"d.exe", L"前(&B)", L"通常(&N)"},
        {L"e.exe", L"前(&B)", L"非アクティブ最小(&I)"},
        {L"f.exe", L"前(&B)", L"非アクティブ通常(&O)"}}},
      {"every timing, spaces colons and quotes",
       true,
       {{L"C:\\Program Files\\x y.exe \"arg: 1\"", L"待機対象(&W)", L"最大(&X)"},
        {L"  spaced  ", L"後(&A)", L"標準(&D)"},
        {L"\"q\" x:y", L"同期(&T)", L"非アクティブ最小(&I)"}}},
      {"standard launcher",
       false,
       {{L"C:\\a b\\c.exe", L"", L""}, {L"say \"hi\":now", L"", L""}, {L" x ", L"", L""}}},
      {"at the length limit", true, {}},
  };
  // Arguments plus target of exactly 249 characters: " /b:" and a program.
  ASSERT_LT(kelmoProTarget.size() + 4, 249u);
  rows.back().items.push_back(
      {std::wstring(249 - kelmoProTarget.size() - 4, L'p'), L"前(&B)", L"標準(&D)"});

  const std::wstring lnk = desktop.File(L"round trip.lnk");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Click(maker.Button(L"リストクリア(&L)"));
    Click(maker.Button(row.kelmoPro ? L"Kelmo Pro(&P)" : L"Kelmo(&S)"));
    for (const auto& item : row.items) maker.Add(item[0], item[1], item[2]);
    const std::vector<std::wstring> made = ListItems(maker.List());
    ASSERT_EQ(made.size(), row.items.size());
    ASSERT_EQ(maker.ClickAnswering(L"&make", {TypeAndOk(L"round trip")}).size(), 1u);
    const std::string first = ReadWholeFile(lnk);
    std::wstring joined;
    for (const std::wstring& entry : made) joined += L" " + entry;
    EXPECT_EQ(ShortcutArgumentsOn(lnk).arguments, joined);
    if (&row == &rows.back()) {
      EXPECT_EQ(kelmoProTarget.size() + joined.size(), 249u);
    }

    // Opened again; the first file goes before the second make writes.
    std::wstring offered;
    {
      MakerProcess again(programs.path(), Quoted(lnk));
      ASSERT_TRUE(again.WaitForListSize(made.size()));
      EXPECT_EQ(ListItems(again.List()), made);
      ASSERT_TRUE(DeleteFileW(lnk.c_str()));
      ASSERT_EQ(again.ClickAnswering(L"&make", {AcceptOfferedName(offered)}).size(), 1u);
    }
    EXPECT_EQ(offered, L"round trip");
    EXPECT_EQ(ReadWholeFile(lnk), first);
    EXPECT_EQ(desktop.NewFiles(), std::vector<std::wstring>{L"round trip.lnk"});
  }
}

// After an open, cancelling the prompt still makes nothing, and a save that
// cannot replace the opened shortcut (another program holds it open) leaves
// it whole.
TEST_F(MakerOpen, MakeAfterOpenCancelledOrFailedKeepsTheOpenedShortcut) {
  DesktopSnapshot desktop;
  const std::wstring lnk = WriteShortcut(desktop.File(L"kept.lnk"), LauncherPath(), L" /w:a.exe");
  MakerProcess maker(BinDir(), Quoted(lnk));
  ASSERT_TRUE(maker.WaitForListSize(1));
  const std::string before = ReadWholeFile(lnk);
  maker.Add(L"b.exe");

  std::wstring offered;
  DialogAnswerer answerer(
      maker.processId(), {Press(IDCANCEL), Press(IDYES), AcceptOfferedName(offered), Press(IDYES)});
  Click(maker.Button(L"&make"), 30000);
  EXPECT_EQ(ReadWholeFile(lnk), before);
  {
    // Held open without delete sharing: the shortcut cannot be replaced.
    const UniqueHandle held(CreateFileW(lnk.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    Click(maker.Button(L"&make"), 30000);
  }
  const std::vector<SeenDialog> seen = answerer.Finish();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[1].text, L"ショートカットの作成を中止しました。");
  EXPECT_EQ(offered, L"kept");
  EXPECT_EQ(seen[3].text, L"ショートカットの作成に失敗しました。");
  EXPECT_EQ(ReadWholeFile(lnk), before) << "the opened shortcut was changed by a failed make";
  EXPECT_EQ(desktop.NewFiles(), std::vector<std::wstring>{L"kept.lnk"});
}

// A shortcut the user set up by hand (working folder, icon, hot key,
// comment, minimized, run as administrator, a launcher in a folder of its
// own, a name the cleaning would change), opened, extended by one entry and
// made again: over itself, as a copy, and with the other launcher chosen,
// each keeps every setting, the copies all but the hot key; only the launcher
// choice changes the target's file name. The prompt offers the opened
// group's name, also once edited, then the name just made; nothing once the
// list was emptied entry by entry, by リストクリア(&L) or by "Kelmo Pro(&P)".
TEST_F(MakerOpen, MakeOfAnOpenedGroupKeepsItsSettingsAndOffersItsNameUntilTheListIsEmptied) {
  DesktopSnapshot desktop;
  const ProgramFolder toolsFolder({L"kelmoPro.exe", L"kelmo.exe"}, dir_.File(L"Tools"));
  const std::wstring& tools = toolsFolder.path();
  const std::wstring icon = L"C:\\windows\\notepad.exe";
  const WORD hotkey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
  const std::wstring lnk = WriteHandMadeShortcut(
      desktop.File(L"game; night.lnk"), {tools + L"\\kelmoPro.exe", L" /w:a.exe", tools, icon, 2,
                                         hotkey, SW_SHOWMINNOACTIVE, L"ゲームの夜", -1, true});
  ASSERT_EQ(ShortcutShowCommand(lnk), SW_SHOWMINNOACTIVE);
  ASSERT_EQ(ShortcutHotkey(lnk), hotkey);

  MakerProcess maker(BinDir(), Quoted(lnk));
  ASSERT_TRUE(maker.WaitForListSize(1));
  maker.Add(L"b.exe");
  std::vector<std::wstring> offered(6, L"<not asked>");
  DialogAnswerer answerer(
      maker.processId(),
      {AcceptOfferedName(offered[0]), AcceptOfferedName(offered[1], L"copy"),
       AcceptOfferedName(offered[2], L"standard"), AcceptOfferedName(offered[3], L"B"),
       AcceptOfferedName(offered[4], L"C"), AcceptOfferedName(offered[5], L"D")});
  const auto make = [&] { Click(maker.Button(L"&make"), 30000); };
  make();
  make();
  Click(maker.Button(L"Kelmo(&S)"));
  make();
  for (int entry = 0; entry < 2; ++entry) {
    SelectListItem(maker.List(), 0);
    Click(maker.Button(L"削除(&D)"));
  }
  maker.Add(L"b.exe");
  make();
  Click(maker.Button(L"リストクリア(&L)"));
  maker.Add(L"b.exe");
  make();
  Click(maker.Button(L"Kelmo Pro(&P)"));
  maker.Add(L"b.exe");
  make();
  ASSERT_EQ(answerer.Finish().size(), 6u);
  EXPECT_EQ(offered,
            (std::vector<std::wstring>{L"game; night", L"game; night", L"copy", L"", L"", L""}));
  EXPECT_EQ(desktop.NewFiles(),
            (std::vector<std::wstring>{L"B.lnk", L"C.lnk", L"D.lnk", L"copy.lnk",
                                       L"game; night.lnk", L"standard.lnk"}));

  const struct {
    const wchar_t* name;
    std::wstring target;
    WORD hotkey;
  } rows[] = {{L"game; night.lnk", tools + L"\\kelmoPro.exe", hotkey},
              {L"copy.lnk", tools + L"\\kelmoPro.exe", 0},
              {L"standard.lnk", tools + L"\\kelmo.exe", 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(Narrow(row.name));
    const std::wstring made = desktop.File(row.name);
    const ShortcutTexts texts = ReadShortcutTexts(made);
    EXPECT_EQ(texts.target, row.target);
    EXPECT_EQ(texts.arguments, L" /w:a.exe /b:b.exe");
    EXPECT_EQ(texts.workDir, tools);
    EXPECT_EQ(texts.iconFile, icon);
    EXPECT_EQ(texts.iconIdx, 2);
    EXPECT_EQ(texts.description, L"ゲームの夜");
    EXPECT_EQ(ShortcutShowCommand(made), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(ShortcutHotkey(made), row.hotkey);
    EXPECT_NE(ShortcutLinkFlags(made) & kRunAsUser, 0u);
  }
  EXPECT_EQ(ShortcutDescription(desktop.File(L"B.lnk")), L"Linked by kelmoCM") << "a new group";
}

// A shortcut in a folder whose path leaves no room for a fresh name beside
// it: the make fails with its message and the old shortcut stays whole.
TEST_F(MakerOpen, SaveWithoutRoomForATemporaryNameFailsAndKeepsTheOldShortcut) {
  const std::size_t kFolderLength = MAX_PATH - 10;
  ASSERT_LT(dir_.path().size() + 2, kFolderLength);
  const ProgramFolder desktop(
      {}, dir_.File(std::wstring(kFolderLength - dir_.path().size() - 1, L'd')));
  const std::wstring& folder = desktop.path();
  const DesktopRedirected redirected(folder);
  const std::wstring lnk = WriteShortcut(folder + L"\\g.lnk", LauncherPath(), L" /w:a.exe");
  const std::string before = ReadWholeFile(lnk);
  ASSERT_FALSE(before.empty());

  MakerProcess maker(BinDir(), Quoted(lnk));
  ASSERT_TRUE(maker.WaitForListSize(1));
  maker.Add(L"b.exe");
  std::wstring offered;
  const std::vector<SeenDialog> seen =
      maker.ClickAnswering(L"&make", {AcceptOfferedName(offered), Press(IDYES)});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(offered, L"g");
  EXPECT_EQ(seen[1].text, L"ショートカットの作成に失敗しました。");
  EXPECT_EQ(ReadWholeFile(lnk), before);
  EXPECT_EQ(FilesIn(folder), std::vector<std::wstring>{L"g.lnk"});
}

}  // namespace
}  // namespace kelmo
