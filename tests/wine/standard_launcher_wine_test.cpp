// kelmo.exe end to end: a group made in the maker's default mode, opened as
// Explorer opens it. The rules of reading its entries are native rows
// (split_exe_args_test.cpp).
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

// Every entry starts through the shell in list order with the default show;
// one that cannot be started gets the shell's box, and the next still starts.
TEST(StandardLauncherRoad, GroupOfTheDefaultModeStartsEveryEntryInOrder) {
  const ScopedComInitialization com;
  const DesktopSnapshot desktop;
  const ProbeDir probes;  // inherited by kelmo.exe, which the shell starts from here
  const ProgramFolder programs({L"kelmoCM.exe", L"kelmo.exe", L"probe.exe"});
  const MakerProcess maker(programs.path());
  ASSERT_NE(maker.window(), nullptr);
  const std::wstring probe = programs.File(L"probe.exe");
  const std::wstring missing = programs.File(L"missing.exe");
  maker.Add(probe + L" first -x");
  maker.Add(missing);
  ASSERT_EQ(maker.Add(probe + L" second"),
            (std::vector<std::wstring>{Quoted(probe + L" first -x"), Quoted(missing),
                                       Quoted(probe + L" second")}));
  ASSERT_EQ(maker.ClickAnswering(L"&make", {TypeAndOk(L"standard")}).size(), 1u);
  const std::wstring lnk = desktop.File(L"standard.lnk");
  EXPECT_EQ(ReadShortcutTexts(lnk).target, programs.File(L"kelmo.exe"));

  // kelmo.exe is started by the shell, not by the test: watch every process.
  DialogAnswerer boxes(0, {Press(IDOK)});
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", lnk.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  ASSERT_GT(opened, 32) << "ShellExecute failed: " << opened;
  const ProbeReport first = WaitForReport(probes, L"first");
  const ProbeReport second = WaitForReport(probes, L"second", L"args", 20000);
  EXPECT_TRUE(boxes.WaitForAnswered(1));
  const std::vector<SeenDialog> seen = boxes.Finish();
  ASSERT_EQ(seen.size(), 1u) << "one box, the missing program's";
  RecordProperty("shell_box", Narrow(seen[0].title + L": " + seen[0].text));
  EXPECT_TRUE(seen[0].closed);
  EXPECT_EQ(first.Text(L"args"), L"first -x");
  EXPECT_EQ(first.Number(L"show"), 10);
  EXPECT_EQ(second.Number(L"show"), 10);
  EXPECT_LT(first.Number(L"created"), second.Number(L"created"));
}

}  // namespace
}  // namespace kelmo
