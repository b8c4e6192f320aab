// Browse and make through the real kelmoCM.exe window, and the whole road:
// compose in the maker, make the shortcut, open it as Explorer does, and
// watch kelmoPro run the group.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/com_init.h"
#include "maker/shell_link.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/maker_test_support.h"
#include "tests/wine/shortcut_file.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

constexpr wchar_t kFailureTitle[] = L"make失敗 - KelmoCM";
constexpr wchar_t kCancelledText[] = L"ショートカットの作成を中止しました。";

class MakerMakeGui : public ::testing::Test {
 protected:
  MakerMakeGui() = default;
  explicit MakerMakeGui(const std::wstring& makerFolder) : maker_(makerFolder) {}

  void SetUp() override { ASSERT_NE(maker_.window(), nullptr); }

  void ChooseKelmoPro() { Click(maker_.Button(L"Kelmo Pro(&P)")); }
  // Types `program` into txtCmd with the timing and size options given by
  // caption and presses "追加(&E)".
  void Add(const std::wstring& program, const std::wstring& timing = L"前(&B)",
           const std::wstring& size = L"標準(&D)") {
    Click(maker_.Button(timing));
    Click(maker_.Button(size));
    SetText(maker_.Edit(), program);
    Click(maker_.Button(L"追加(&E)"));
  }
  // Presses a cmdCmd button; its handler runs to its end while the boxes it
  // opens get `answers` in turn. Gives the boxes seen.
  std::vector<SeenDialog> PressCmdCmd(const std::wstring& caption,
                                      std::vector<DialogAnswer> answers) {
    DialogAnswerer answerer(maker_.processId(), std::move(answers));
    Click(maker_.Button(caption), 30000);
    return answerer.Finish();
  }
  std::vector<SeenDialog> Make(std::vector<DialogAnswer> answers) {
    return PressCmdCmd(L"&make", std::move(answers));
  }
  std::wstring Arguments() const {
    std::wstring arguments;
    for (const std::wstring& entry : ListItems(maker_.List())) arguments += L" " + entry;
    return arguments;
  }

  ScopedComInitialization com_;
  DesktopSnapshot desktop_;
  MakerProcess maker_;
};

void ExpectWarning(const std::vector<SeenDialog>& seen, const std::wstring& text) {
  ASSERT_EQ(seen.size(), 2u) << "the name prompt, then one message";
  EXPECT_EQ(seen[0].title, L"名前は? - KelmoCM");
  EXPECT_EQ(seen[1].title, kFailureTitle);
  EXPECT_EQ(seen[1].text, text);
  EXPECT_TRUE(seen[1].yesNo);
}

TEST_F(MakerMakeGui, EmptyListMakesNothingAndAsksNothing) {
  ChooseKelmoPro();
  EXPECT_TRUE(Make({}).empty());
  EXPECT_TRUE(desktop_.NewFiles().empty());
}

TEST_F(MakerMakeGui, TypedNameIsCleanedAndTheShortcutRunsTheListsArguments) {
  ChooseKelmoPro();
  Add(L"C:\\tools\\a.exe -x", L"待機対象(&W)", L"最大(&X)");
  Add(L"C:\\tools\\b c.exe  -y  z");
  const auto seen = Make({TypeAndOk(L"  my:app?  ")});
  ASSERT_EQ(seen.size(), 1u) << "a made shortcut shows no message";
  EXPECT_EQ(seen[0].title, L"名前は? - KelmoCM");
  EXPECT_EQ(seen[0].text, L"作成するショートカットの名前は?");
  ASSERT_EQ(desktop_.NewFiles(), std::vector<std::wstring>{L"myapp.lnk"});

  const std::wstring lnk = desktop_.File(L"myapp.lnk");
  std::wstring exe, workDir, args, icon;
  int iconIdx = 0, showCmd = 0;
  ASSERT_TRUE(cShellLink().GetShellLinkInfo(lnk, exe, workDir, args, icon, iconIdx, showCmd));
  EXPECT_EQ(exe, BinDir() + L"\\kelmoPro.exe");
  EXPECT_EQ(args, L" /wx:C:\\tools\\a.exe -x /b:C:\\tools\\b c.exe  -y  z");
  EXPECT_EQ(workDir, L"");
  EXPECT_EQ(ShortcutShowCommand(lnk), 5);
  EXPECT_EQ(ShortcutDescription(lnk), L"Linked by kelmoCM");
  EXPECT_EQ(ListItems(maker_.List()).size(), 2u) << "make leaves the list as it was";
}

TEST_F(MakerMakeGui, BrowseFillsTheShortPathOfTheChosenFileOrNothingWhenThereIsNone) {
  ProbeDir dir;
  const ProbeCopy copy = CopyProbeAs(dir, L"program with a long name.exe");
  ASSERT_NE(copy.shortPath, copy.path) << "the test needs a name with a distinct short form";

  SetText(maker_.Edit(), L"replaced");
  const auto seen = PressCmdCmd(L"参照(&R)", {ChooseFile(copy.path)});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"ファイルの参照");
  EXPECT_EQ(ControlText(maker_.Edit()), copy.shortPath);
  EXPECT_TRUE(ListItems(maker_.List()).empty()) << "browsing does not add to the list";

  SetText(maker_.Edit(), L"kept");
  EXPECT_EQ(PressCmdCmd(L"参照(&R)", {Press(IDCANCEL)}).size(), 1u);
  EXPECT_EQ(ControlText(maker_.Edit()), L"kept") << "a cancelled dialog changes nothing";

  // The ANSI dialog gives a name outside the code page with "?" in place of
  // é: the short-path lookup finds no such file, and the box ends empty.
  const ProbeCopy foreign = CopyProbeAs(dir, L"caf\u00e9.exe");
  const auto picked = PressCmdCmd(L"参照(&R)", {ChooseFile(foreign.path)});
  ASSERT_EQ(picked.size(), 1u);
  EXPECT_EQ(ControlText(maker_.Edit()), L"");
}

// Odd names, long lists, Japanese entries and a desktop that cannot take the
// shortcut: the right message, and never a partial file.
TEST_F(MakerMakeGui, NameOutsideTheCodePageIsKeptInTheFileName) {
  ChooseKelmoPro();
  Add(L"C:\\tools\\a.exe");
  // é and the snowman have no Shift-JIS form; the file name is wide text.
  ASSERT_EQ(Make({TypeAndOk(L"café \u2603 予定")}).size(), 1u);
  EXPECT_EQ(desktop_.NewFiles(), std::vector<std::wstring>{L"café \u2603 予定.lnk"});
}

TEST_F(MakerMakeGui, JapaneseEntriesReachTheShortcutAndHundredsOfEntriesAreRefused) {
  ChooseKelmoPro();
  Add(L"C:\\ツール\\メモ帳.exe 日本語.txt", L"待機対象(&W)", L"最小(&M)");
  Add(L"  予定表.exe  ", L"後(&A)");
  const std::wstring arguments = Arguments();
  EXPECT_EQ(arguments, L" /wm:C:\\ツール\\メモ帳.exe 日本語.txt /a:  予定表.exe  ");
  ASSERT_EQ(Make({TypeAndOk(L"日本語")}).size(), 1u);
  std::wstring exe, workDir, args, icon;
  int iconIdx = 0, showCmd = 0;
  ASSERT_TRUE(cShellLink().GetShellLinkInfo(desktop_.File(L"日本語.lnk"), exe, workDir, args, icon,
                                            iconIdx, showCmd));
  EXPECT_EQ(args, arguments);

  for (int i = 0; i < 300; ++i) Add(L"p" + std::to_wstring(i) + L".exe");
  ASSERT_EQ(ListItems(maker_.List()).size(), 302u);
  ExpectWarning(Make({TypeAndOk(L"many"), Press(IDYES)}),
                std::wstring(L"オプションが長すぎます。\r\n") + kCancelledText);
  EXPECT_EQ(ListItems(maker_.List()).size(), 302u) << "a refused make keeps the list";
  EXPECT_EQ(desktop_.NewFiles(), std::vector<std::wstring>{L"日本語.lnk"});
}

TEST_F(MakerMakeGui, DesktopThatCannotTakeTheShortcutIsReportedAndLeavesNothing) {
  ProbeDir scratch;
  const std::wstring notAFolder = scratch.File(L"file");
  CloseHandle(CreateFileW(notAFolder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  Add(L"C:\\tools\\a.exe");
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

// kelmoCM, kelmoPro and the probe copied into a folder at the root of C:.
// The shortcut's target and its group name these programs, so a short folder
// keeps the road's group under the maker's 250-character limit wherever the
// build tree happens to live.
class ShortProgramFolder {
 public:
  ShortProgramFolder() : path_(L"C:\\kr" + std::to_wstring(GetCurrentProcessId())) {
    CreateDirectoryW(path_.c_str(), nullptr);
    for (const wchar_t* name : kPrograms) {
      EXPECT_TRUE(CopyFileW((BinDir() + L"\\" + name).c_str(), File(name).c_str(), FALSE))
          << Narrow(name);
    }
  }
  ~ShortProgramFolder() {
    // A probe may still be on its way out; its file cannot go before it has.
    for (const wchar_t* name : kPrograms) {
      WaitUntil(
          [&] { return DeleteFileW(File(name).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
          5000);
    }
    RemoveDirectoryW(path_.c_str());
  }
  ShortProgramFolder(const ShortProgramFolder&) = delete;
  ShortProgramFolder& operator=(const ShortProgramFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  static constexpr const wchar_t* kPrograms[] = {L"kelmoCM.exe", L"kelmoPro.exe", L"probe.exe"};
  std::wstring path_;
};

// The maker run from the short folder; the base is built first, so the
// copies exist before the maker starts.
class MakerRoad : protected ShortProgramFolder, public MakerMakeGui {
 protected:
  MakerRoad() : MakerMakeGui(path()) {}
  std::wstring Probe(const std::wstring& tag, const std::wstring& options = L"") const {
    return File(L"probe.exe") + L" " + tag + (options.empty() ? L"" : L" " + options);
  }
};

// The road of one typical use, from the maker's window to the group's end.
TEST_F(MakerRoad, ShortcutMadeInTheMakerRunsTheGroupThroughKelmoPro) {
  ProbeDir probes;  // inherited by the launcher the shell starts from here
  ChooseKelmoPro();
  Add(Probe(L"b"), L"前(&B)", L"通常(&N)");
  Add(Probe(L"c", L"-window"), L"同期(&T)", L"標準(&D)");
  Add(Probe(L"w", L"-until " + probes.File(L"release")), L"待機対象(&W)", L"最大(&X)");
  Add(Probe(L"a"), L"後(&A)", L"最小(&M)");
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
  CreateReleaseFile(probes.File(L"release"));
  const ProbeReport w = WaitForReport(probes, L"w", L"exited");
  const ProbeReport c = WaitForReport(probes, L"c", L"closed");
  const ProbeReport a = WaitForReport(probes, L"a");
  EXPECT_EQ(b.Number(L"show"), 1);
  EXPECT_EQ(c.Number(L"show"), 1);
  EXPECT_EQ(w.Number(L"show"), 3);
  EXPECT_EQ(a.Number(L"show"), 2);
  EXPECT_EQ(w.Text(L"args"), L"w -until " + probes.File(L"release"));
  EXPECT_LE(b.Number(L"created"), c.Number(L"created"));
  EXPECT_LE(c.Number(L"created"), w.Number(L"created"));
  EXPECT_GE(c.Number(L"closed"), w.Number(L"exited")) << "companion closed before the wait ended";
  EXPECT_GE(a.Number(L"created"), w.Number(L"exited")) << "after program started during the wait";
}

}  // namespace
}  // namespace kelmo
