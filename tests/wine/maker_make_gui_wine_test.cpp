// Browse and make through the real kelmoCM.exe window, what make refuses
// rather than write a shortcut that says something else (texts the ANSI code
// page cannot hold), and the whole road: compose in the maker, make the
// shortcut, open it as Explorer does, and watch kelmoPro run the group.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

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

// The maker run from a short folder with kelmoPro and the probe beside it:
// the shortcut's target and its group name these programs, so a group stays
// under the maker's 250-character limit wherever the build tree lives.
class MakerMakeGui : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(maker_.window(), nullptr); }

  void ChooseKelmoPro() { Click(maker_.Button(L"Kelmo Pro(&P)")); }
  std::vector<SeenDialog> Make(std::vector<DialogAnswer> answers) {
    return maker_.ClickAnswering(L"&make", std::move(answers));
  }

  ScopedComInitialization com_;
  DesktopSnapshot desktop_;
  const ProgramFolder programs_{{L"kelmoCM.exe", L"kelmoPro.exe", L"probe.exe"}};
  MakerProcess maker_{programs_.path()};
};

TEST_F(MakerMakeGui, TypedNameIsCleanedAndTheShortcutRunsTheListsArguments) {
  ChooseKelmoPro();
  EXPECT_TRUE(Make({}).empty()) << "an empty list makes nothing and asks nothing";
  maker_.Add(L"C:\\tools\\a.exe -x", L"待機対象(&W)", L"最大(&X)");
  maker_.Add(L"C:\\tools\\b c.exe  -y  z", L"前(&B)", L"標準(&D)");
  SetText(maker_.Edit(), L"c.exe");
  const auto seen = Make({Press(IDYES), TypeAndOk(L"  my:app?  ")});
  ASSERT_EQ(seen.size(), 2u) << "a made shortcut shows no message";
  EXPECT_EQ(seen[0].title, L"make - KelmoCM") << "the program typed but not added is asked about";
  ASSERT_EQ(desktop_.NewFiles(), std::vector<std::wstring>{L"myapp.lnk"});

  const std::wstring lnk = desktop_.File(L"myapp.lnk");
  const ShortcutTexts texts = ReadShortcutTexts(lnk);
  EXPECT_EQ(texts.target, programs_.File(L"kelmoPro.exe"));
  EXPECT_EQ(texts.arguments, L" /wx:C:\\tools\\a.exe -x /b:C:\\tools\\b c.exe  -y  z /b:c.exe");
  EXPECT_EQ(texts.workDir, L"");
  EXPECT_EQ(ShortcutShowCommand(lnk), 5);
  EXPECT_EQ(texts.description, L"Linked by kelmoCM");
  EXPECT_EQ(ListItems(maker_.List()).size(), 3u) << "make leaves the list as Yes left it";
}

TEST_F(MakerMakeGui, BrowseFillsTheShortPathOfTheChosenFileOrNothingWhenThereIsNone) {
  ProbeDir dir;
  const ProbeCopy copy = CopyProbeAs(dir, L"program with a long name.exe");
  ASSERT_NE(copy.shortPath, copy.path) << "the test needs a name with a distinct short form";

  SetText(maker_.Edit(), L"replaced");
  const auto seen = maker_.ClickAnswering(L"参照(&R)", {ChooseFile(copy.path)});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"ファイルの参照");
  EXPECT_EQ(ControlText(maker_.Edit()), copy.shortPath);
  EXPECT_TRUE(ListItems(maker_.List()).empty()) << "browsing does not add to the list";

  SetText(maker_.Edit(), L"kept");
  EXPECT_EQ(maker_.ClickAnswering(L"参照(&R)", {Press(IDCANCEL)}).size(), 1u);
  EXPECT_EQ(ControlText(maker_.Edit()), L"kept") << "a cancelled dialog changes nothing";

  // The ANSI dialog gives a name outside the code page with "?" in place of
  // é: the short-path lookup finds no such file, and the box ends empty.
  const ProbeCopy foreign = CopyProbeAs(dir, L"caf\u00e9.exe");
  const auto picked = maker_.ClickAnswering(L"参照(&R)", {ChooseFile(foreign.path)});
  ASSERT_EQ(picked.size(), 1u);
}

// Japanese entries reach the arguments; a name with characters that have no
// Shift-JIS form (é, the snowman) is kept, as the file name is wide text.
TEST_F(MakerMakeGui, JapaneseEntriesAndANameOutsideTheCodePageReachTheShortcut) {
  ChooseKelmoPro();
  maker_.Add(L"C:\\ツール\\メモ帳.exe 日本語.txt", L"待機対象(&W)", L"最小(&M)");
  maker_.Add(L"  予定表.exe  ", L"後(&A)", L"標準(&D)");
  const std::wstring name = L"café \u2603 予定.lnk";
  ASSERT_EQ(Make({TypeAndOk(L"café \u2603 予定")}).size(), 1u);
  ASSERT_EQ(desktop_.NewFiles(), std::vector<std::wstring>{name});
  EXPECT_EQ(ShortcutArgumentsOn(desktop_.File(name)).arguments,
            L" /wm:C:\\ツール\\メモ帳.exe 日本語.txt /a:  予定表.exe  ");
}

// A desktop that cannot take the shortcut: the right message, and never a
// partial file.

TEST_F(MakerMakeGui, DesktopThatCannotTakeTheShortcutIsReportedAndLeavesNothing) {
  ProbeDir scratch;
  const std::wstring notAFolder = scratch.File(L"file");
  CreateReleaseFile(notAFolder);
  maker_.Add(L"C:\\tools\\a.exe");
  for (const std::wstring& desktop : {scratch.File(L"missing"), notAFolder}) {
    SCOPED_TRACE(Narrow(desktop));
    const DesktopRedirected redirected(desktop);
    const auto seen = Make({TypeAndOk(L"nowhere"), Press(IDYES), Press(IDYES)});
    ASSERT_FALSE(seen.empty());
    const SeenDialog& last = seen.back();
    RecordProperty(desktop == notAFolder ? "message_for_a_file" : "message_for_a_missing_folder",
                   Narrow(last.text));
    EXPECT_EQ(last.title, kFailureTitle);
    EXPECT_TRUE(last.text == L"ショートカットの作成に失敗しました。" ||
                last.text == L"デスクトップフォルダのパス取得に失敗しました。")
        << Narrow(last.text);
    EXPECT_EQ(GetFileAttributesW((desktop + L"\\nowhere.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(scratch.File(L"missing").c_str()), INVALID_FILE_ATTRIBUTES)
        << "make created the missing desktop";
  }
  EXPECT_TRUE(desktop_.NewFiles().empty());
}

constexpr wchar_t kNotHeld[] =
    L"に、このコンピューターの文字コードで表せない文字が含まれています。";

TEST_F(MakerMakeGui, EntryTheCodePageCannotHoldIsNamedAndTheListKept) {
  ChooseKelmoPro();
  maker_.Add(L"C:\\tools\\a.exe");
  for (const wchar_t* text : {L"C:\\caf\u00E9.exe", L"C:\\a.exe \uD55C", L"C:\\a.exe \U0001F600"}) {
    SCOPED_TRACE(Narrow(text));
    maker_.Add(text);
    const auto seen = Make({Press(IDOK)});
    ASSERT_EQ(seen.size(), 1u) << "no name prompt: make stops before it";
    EXPECT_EQ(seen[0].title, kFailureTitle);
    EXPECT_EQ(seen[0].text.find(L"リストの 2 番目の項目" + std::wstring(kNotHeld)), 0u)
        << Narrow(seen[0].text);
    EXPECT_TRUE(seen[0].okOnly);
    EXPECT_EQ(ListItems(maker_.List()).size(), 2u);
    SelectListItem(maker_.List(), 1);
    Click(maker_.Button(L"削除(&D)"));
  }
  EXPECT_TRUE(desktop_.NewFiles().empty());

  // A yen sign typed for the backslash reaches the shortcut as one.
  maker_.Add(L"C:\u00A5tools\u00A5b.exe");
  ASSERT_EQ(Make({TypeAndOk(L"yen")}).size(), 1u);
  EXPECT_EQ(ShortcutArgumentsOn(desktop_.File(L"yen.lnk")).arguments,
            L" /b:C:\\tools\\a.exe /b:C:\\tools\\b.exe");
}

// The shortcut's path reaches wide calls only: a desktop folder whose name
// the code page cannot hold (or holds only as a look-alike) is used as it is.
// Each make is of a new group: "g" again would save over the one just made.
TEST_F(MakerMakeGui, DesktopFolderTheCodePageCannotHoldIsUsedAsItIs) {
  ProbeDir scratch;
  ChooseKelmoPro();
  for (const wchar_t* name :
       {L"desk caf\u00E9", L"desk \uD55C", L"desk \U0001F600", L"desk \u00A5"}) {
    SCOPED_TRACE(Narrow(name));
    Click(maker_.Button(L"リストクリア(&L)"));
    maker_.Add(L"C:\\tools\\a.exe");
    const ProgramFolder desktop({}, scratch.File(name));
    const std::wstring& folder = desktop.path();
    const DesktopRedirected redirected(folder);
    ASSERT_EQ(Make({TypeAndOk(L"g")}).size(), 1u) << "the name prompt alone";
    EXPECT_EQ(FilesIn(folder), std::vector<std::wstring>{L"g.lnk"});
    EXPECT_EQ(ShortcutArgumentsOn(folder + L"\\g.lnk").arguments, L" /b:C:\\tools\\a.exe");
  }
  EXPECT_TRUE(desktop_.NewFiles().empty());
}

// The maker run from a folder whose name the code page cannot hold, or holds
// only as a look-alike (a yen sign would reach the shell as a backslash):
// make names the launcher's path before the name prompt and writes nothing.
TEST(MakerLauncherPathGui, FolderTheCodePageCannotHoldIsNamedBeforeThePrompt) {
  const DesktopSnapshot desktop;
  const ProbeDir scratch;
  for (const wchar_t* name : {L"caf\u00E9", L"yen\u00A5"}) {
    SCOPED_TRACE(Narrow(name));
    const ProgramFolder programs({L"kelmoCM.exe"}, scratch.File(name));
    const MakerProcess maker(programs.path());
    ASSERT_NE(maker.window(), nullptr);
    maker.Add(L"C:\\tools\\a.exe");
    const std::vector<SeenDialog> seen = maker.ClickAnswering(L"&make", {Press(IDOK)});
    ASSERT_EQ(seen.size(), 1u) << "no name prompt: make stops before it";
    EXPECT_EQ(seen[0].title, kFailureTitle);
    EXPECT_EQ(
        seen[0].text.find(L"ショートカットが起動するプログラムのパス" + std::wstring(kNotHeld)), 0u)
        << Narrow(seen[0].text);
  }
  EXPECT_TRUE(desktop.NewFiles().empty());
}

class MakerRoad : public MakerMakeGui {
 protected:
  std::wstring Probe(const std::wstring& tag, const std::wstring& options = L"") const {
    return programs_.File(L"probe.exe") + L" " + tag + (options.empty() ? L"" : L" " + options);
  }
};

// The road of one typical use, from the maker's window to the group's end.
TEST_F(MakerRoad, ShortcutMadeInTheMakerRunsTheGroupThroughKelmoPro) {
  ProbeDir probes;  // inherited by the launcher the shell starts from here
  ChooseKelmoPro();
  maker_.Add(Probe(L"b"), L"前(&B)", L"通常(&N)");
  maker_.Add(Probe(L"c", L"-window"), L"同期(&T)", L"標準(&D)");
  // In the short folder: the group must not grow with the user's name.
  const std::wstring release = programs_.File(L"release");
  maker_.Add(Probe(L"w", L"-until " + release), L"待機対象(&W)", L"最大(&X)");
  maker_.Add(Probe(L"a"), L"後(&A)", L"最小(&M)");
  ASSERT_EQ(ListItems(maker_.List()).size(), 4u);
  ASSERT_EQ(Make({TypeAndOk(L"road")}).size(), 1u);
  const std::wstring lnk = desktop_.File(L"road.lnk");
  ASSERT_NE(GetFileAttributesW(lnk.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ShortcutShowCommand(lnk), 5);

  // Opened the way Explorer opens it; the shell starts the launcher.
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", lnk.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  ASSERT_GT(opened, 32) << "ShellExecute failed: " << opened;

  const ProbeReport b = WaitForReport(probes, L"b");
  WaitForReport(probes, L"c", L"windows", 20000);
  WaitForReport(probes, L"w", L"args", 20000);
  CreateReleaseFile(release);
  const ProbeReport w = WaitForReport(probes, L"w", L"exited");
  const ProbeReport c = WaitForReport(probes, L"c", L"closed");
  const ProbeReport a = WaitForReport(probes, L"a");
  EXPECT_EQ(b.Number(L"show"), 1);
  EXPECT_EQ(c.Number(L"show"), 1);
  EXPECT_EQ(w.Number(L"show"), 3);
  EXPECT_EQ(a.Number(L"show"), 2);
  EXPECT_EQ(w.Text(L"args"), L"w -until " + release);
  EXPECT_LE(b.Number(L"created"), c.Number(L"created"));
  EXPECT_LE(c.Number(L"created"), w.Number(L"created"));
  EXPECT_GE(c.Number(L"closed"), w.Number(L"exited")) << "companion closed before the wait ended";
  EXPECT_GE(a.Number(L"created"), w.Number(L"exited")) << "after program started during the wait";
}

}  // namespace
}  // namespace kelmo
