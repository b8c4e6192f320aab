// cmdCmd_Click in this process against a stand-in for the maker window: the
// real name prompt, message boxes, desktop and shell link. The cases that the
// real window reaches as well (empty list, a made shortcut, Browse) are tested
// through kelmoCM.exe in maker_make_gui_wine_test.cpp.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/win/com_init.h"
#include "maker/win/browse_and_make.h"
#include "maker/win/make_platform.h"
#include "maker/win/name_prompt.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/shortcut_file.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

constexpr wchar_t kPromptText[] = L"作成するショートカットの名前は?";
constexpr wchar_t kCancelledText[] = L"ショートカットの作成を中止しました。";

// The maker window's state, with a hidden window of its own as the owner of
// the boxes. Entries() and SetProgramText() can be made to throw, to reach
// the handler's trap from make and from Browse.
class StandInWindow : public MakerWindowAccess {
 public:
  StandInWindow()
      : hwnd_(CreateWindowExW(0, L"STATIC", L"stand-in", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~StandInWindow() override { DestroyWindow(hwnd_); }
  HWND Handle() const override { return hwnd_; }
  std::wstring ProgramText() const override { return programText; }
  void SetProgramText(const std::wstring& text) override {
    if (programTextFailure) throw *programTextFailure;
    programText = text;
  }
  std::vector<std::wstring> Entries() const override {
    if (entriesFailure) throw *entriesFailure;
    return entries;
  }
  LauncherChoice Launcher() const override { return launcher; }
  std::wstring PendingEntry() const override { return L""; }
  void AddEntry(const std::wstring&) override {}
  void ShowGroup(const OpenedGroup&) override {}
  OpenedGroupState& Group() override { return group; }

  std::wstring programText;
  std::vector<std::wstring> entries;
  LauncherChoice launcher = LauncherChoice::KelmoPro;
  std::optional<Failure> entriesFailure;
  std::optional<Failure> programTextFailure;
  OpenedGroupState group;

 private:
  HWND hwnd_;
};

class MakeWine : public ::testing::Test {
 protected:
  // Clicks cmdCmd `index`, answering the boxes it shows in turn.
  std::vector<SeenDialog> Click(int index, std::vector<DialogAnswer> answers) {
    DialogAnswerer answerer(GetCurrentProcessId(), std::move(answers));
    cmdCmd_Click(window_, index);
    return answerer.Finish();
  }
  bool DesktopUnchanged() const { return desktop_.NewFiles().empty(); }

  ScopedComInitialization com_;
  StandInWindow window_;
  DesktopSnapshot desktop_;
};

void ExpectPrompt(const SeenDialog& seen) {
  EXPECT_EQ(seen.title, kPromptTitle);
  EXPECT_EQ(seen.text, kPromptText);
}

void ExpectWarning(const SeenDialog& seen, const std::wstring& text) {
  EXPECT_EQ(seen.title, kFailureTitle);
  EXPECT_EQ(seen.text, text);
  EXPECT_TRUE(seen.yesNo) << "Yes and No, not a single OK";
}

TEST_F(MakeWine, NoUsableNameStopsWithTheCancelledMessage) {
  window_.entries = {L"/b:C:\\a.exe"};
  const std::pair<const char*, DialogAnswer> answers[] = {
      {"cancel", Press(IDCANCEL)},
      {"close box", CloseBox()},
      {"empty", TypeAndOk(L"")},
      {"only removed characters and spaces", TypeAndOk(L"  \\/:,;*?\"<>|  ")},
  };
  for (const auto& [label, answer] : answers) {
    SCOPED_TRACE(label);
    const auto seen = Click(1, {answer, Press(IDYES)});
    ASSERT_EQ(seen.size(), 2u);
    ExpectPrompt(seen[0]);
    ExpectWarning(seen[1], kCancelledText);
  }
  EXPECT_TRUE(DesktopUnchanged());
}

// One entry one character over the limit: its length plus the space before
// it plus the target. A make right at the limit is in the maker_open tests.
TEST_F(MakeWine, LengthLimitCountsArgumentsAndTarget) {
  const std::size_t target = (BinDir() + L"\\kelmoPro.exe").size();
  if (target + 2 > 249) GTEST_SKIP() << "the build's folder leaves no room for an entry";
  window_.entries = {std::wstring(249 - target, L'a')};
  const auto refused = Click(1, {TypeAndOk(L"long"), Press(IDNO)});
  ASSERT_EQ(refused.size(), 2u);
  ExpectPrompt(refused[0]);
  ExpectWarning(refused[1], std::wstring(L"オプションが長すぎます。\r\n") + kCancelledText);
  EXPECT_TRUE(DesktopUnchanged());
}

// Browse's failures reach the same trap as make's, and its report is owned
// by the maker window: no click reaches a handler while the report is up.
TEST_F(MakeWine, BrowseFailureIsReportedInABoxOwnedByTheWindow) {
  ProbeDir dir;
  const ProbeCopy program = CopyProbeAs(dir, L"program.exe");
  window_.programTextFailure = Failure(5, L"説明");
  HWND owner = nullptr;
  const auto seen = Click(0, {ChooseFile(program.path), [&owner](HWND box) {
                                owner = GetWindow(box, GW_OWNER);
                                PressDialogButton(box, IDOK);
                              }});
  ASSERT_EQ(seen.size(), 2u) << "the open-file dialog, then the report";
  EXPECT_EQ(seen[1].title, L"エラー - Kelmo Command line Maker");
  EXPECT_NE(seen[1].text.find(L"場所:cmdCmd_Click"), std::wstring::npos) << Narrow(seen[1].text);
  EXPECT_EQ(owner, window_.Handle());
}

TEST_F(MakeWine, MissingFunctionHasItsOwnMessageAndOtherFailuresTheReport) {
  window_.entriesFailure = Failure(kMissingFunction, L"missing");
  const auto missing = Click(1, {Press(IDOK)});
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].title, kFailureTitle);
  EXPECT_EQ(missing[0].text,
            L"Kelmo Commandline Maker を動作させるには、\r\n"
            L"Internet Explorer 4 以上がインストールされた環境が必要です。");
  EXPECT_TRUE(missing[0].okOnly);

  window_.entriesFailure = Failure(5, L"説明");
  const auto other = Click(1, {Press(IDOK)});
  ASSERT_EQ(other.size(), 1u);
  EXPECT_EQ(other[0].title, L"エラー - Kelmo Command line Maker");
  EXPECT_NE(other[0].text.find(
                L"エラー番号:5\r\n場所:cmdCmd_ClickKelmo Command line Maker1.04.2485\r\n説明"),
            std::wstring::npos)
      << Narrow(other[0].text);

  EXPECT_TRUE(Click(2, {}).empty()) << "an index beyond the group does nothing";
  EXPECT_TRUE(Click(-1, {}).empty());
}

TEST(ShellFunctionBinding, MissingFunctionIsFailure453) {
  EXPECT_NE(BindShellFunction("SHGetSpecialFolderPathA"), nullptr);
  try {
    BindShellFunction("SHGetSpecialFolderPathNowhere");
    ADD_FAILURE() << "no failure for a missing function";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), kMissingFunction);
    EXPECT_NE(failure.description().find(L"SHGetSpecialFolderPathNowhere"), std::wstring::npos);
  }
}

TEST(NamePromptWine, GivesTheTypedTextTheDefaultOrNothing) {
  struct Case {
    const char* label;
    std::wstring defaultText;
    DialogAnswer answer;
    std::wstring expected;
  } cases[] = {
      {"typed", L"", TypeAndOk(L" 日本語 name "), L" 日本語 name "},
      {"default kept", L"preset", Press(IDOK), L"preset"},
      {"cancel", L"preset", Press(IDCANCEL), L""},
      {"closed", L"preset", CloseBox(), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    DialogAnswerer answerer(GetCurrentProcessId(), {c.answer});
    EXPECT_EQ(InputBox(nullptr, L"質問?", L"題名", c.defaultText), c.expected);
    const auto seen = answerer.Finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"題名");
    EXPECT_EQ(seen[0].text, L"質問?");
  }
}

}  // namespace
}  // namespace kelmo
