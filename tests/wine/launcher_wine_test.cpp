// kelmoPro.exe run for real under Wine with probe programs as the group.
#include <gtest/gtest.h>

#include <string>

#include "launcher/launch_platform_win32.h"
#include "launcher/launcher_window.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

class LauncherWine : public ::testing::Test {
 protected:
  // Runs the launcher to its end; fails the test when it does not end.
  void RunToEnd(const std::wstring& arguments, int timeoutMs = 20000) {
    StartedProcess launcher = StartLauncher(arguments);
    const auto code = WaitForExit(launcher, timeoutMs);
    ASSERT_TRUE(code.has_value()) << "launcher did not end: " << Narrow(arguments);
    EXPECT_EQ(*code, 0u);
  }
  ProbeReport Report(const std::wstring& tag, const std::wstring& key = L"args") {
    return WaitForReport(dir_, tag, key);
  }
  bool Started(const std::wstring& tag) { return ReadReport(dir_, tag).has_value(); }
  std::wstring Probe(const std::wstring& tag, const std::wstring& options = L"") {
    return ProbeCommand(tag, options);
  }

  ProbeDir dir_;
};

TEST_F(LauncherWine, BeforeThenWaitedWithTheirShowModes) {
  RunToEnd(L"/b:" + Probe(L"A") + L" /wx:" + Probe(L"W", L"-exit 300"));
  EXPECT_EQ(Report(L"A").Number(L"show"), 10);
  const ProbeReport waited = Report(L"W", L"exited");
  EXPECT_EQ(waited.Number(L"show"), 3);
  EXPECT_EQ(waited.Text(L"args"), L"W -exit 300");
}

TEST_F(LauncherWine, BeforeListInOrderAndAfterListAfterTheWait) {
  RunToEnd(L"/bn:" + Probe(L"a") + L" /bm:" + Probe(L"b") + L" /w:" + Probe(L"w", L"-exit 500") +
           L" /an:" + Probe(L"c"));
  const ProbeReport a = Report(L"a"), b = Report(L"b"), w = Report(L"w", L"exited"),
                    c = Report(L"c");
  EXPECT_EQ(a.Number(L"show"), 1);
  EXPECT_EQ(b.Number(L"show"), 2);
  EXPECT_EQ(c.Number(L"show"), 1);
  EXPECT_LE(a.Number(L"created"), b.Number(L"created"));
  EXPECT_LE(b.Number(L"created"), w.Number(L"created"));
  EXPECT_GE(c.Number(L"created"), w.Number(L"exited"))
      << "after program started before the wait ended";
}

TEST_F(LauncherWine, FirstItemWithoutSlash) {
  RunToEnd(L"bn:" + Probe(L"a"));
  EXPECT_EQ(Report(L"a").Number(L"show"), 1);
}

TEST_F(LauncherWine, FirstWaitedItemWinsAndTheOtherIsDropped) {
  const std::wstring release = dir_.File(L"release");
  StartedProcess launcher =
      StartLauncher(L"/wb:" + Probe(L"a", L"-until " + release) + L" /w:" + Probe(L"b"));
  Report(L"a");
  EXPECT_FALSE(WaitForExit(launcher, 300).has_value()) << "launcher did not wait for a";
  CloseHandle(CreateFileW(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  ASSERT_TRUE(WaitForExit(launcher).has_value());
  EXPECT_EQ(Report(L"a").Number(L"show"), 10);
  EXPECT_FALSE(Started(L"b"));
}

TEST_F(LauncherWine, EveryShowModeThroughTheBeforeList) {
  RunToEnd(L"/bd:" + Probe(L"d") + L" /bi:" + Probe(L"i") + L" /bm:" + Probe(L"m") + L" /bn:" +
           Probe(L"n") + L" /bo:" + Probe(L"o") + L" /bx:" + Probe(L"x"));
  const std::pair<const wchar_t*, int> expected[] = {{L"d", 10}, {L"i", 7}, {L"m", 2},
                                                     {L"n", 1},  {L"o", 4}, {L"x", 3}};
  for (const auto& [tag, show] : expected)
    EXPECT_EQ(Report(tag).Number(L"show"), show) << Narrow(tag);
}

TEST_F(LauncherWine, CloseListGetsMappedStylesAndWmClose) {
  RunToEnd(L"/ci:" + Probe(L"i", L"-window") + L" /c:" + Probe(L"d", L"-window") + L" /cx:" +
           Probe(L"x", L"-window") + L" /w:" + Probe(L"w", L"-exit 2000"));
  EXPECT_EQ(Report(L"i").Number(L"show"), 6);
  EXPECT_EQ(Report(L"d").Number(L"show"), 1);
  EXPECT_EQ(Report(L"x").Number(L"show"), 3);
  for (const wchar_t* tag : {L"i", L"d", L"x"}) {
    EXPECT_GE(Report(tag, L"closed").Number(L"closed"), Report(L"w", L"exited").Number(L"exited"))
        << Narrow(tag);
  }
}

TEST_F(LauncherWine, TerminateCompanionIsGoneAfterTheRun) {
  RunToEnd(L"/t:" + Probe(L"t", L"-stay") + L" /w:" + Probe(L"w", L"-exit 800"));
  const ProbeReport t = Report(L"t");
  EXPECT_FALSE(ProcessAlive(static_cast<DWORD>(t.Number(L"pid"))));
  EXPECT_FALSE(ReadReport(dir_, L"t")->Has(L"exited")) << "terminated, so it never ended by itself";
}

TEST_F(LauncherWine, CompanionsEndAtOnceWithoutWaitedEntry) {
  RunToEnd(L"/t:" + Probe(L"t", L"-stay") + L" /c:" + Probe(L"c", L"-exit 3000") + L" /a:" +
           Probe(L"a"));
  Report(L"a");
  // The terminate companion may be ended before it writes a line; if it wrote
  // one, its process must be gone.
  if (auto t = ReadReport(dir_, L"t"); t && t->Has(L"pid")) {
    EXPECT_TRUE(
        WaitUntil([&] { return !ProcessAlive(static_cast<DWORD>(t->Number(L"pid"))); }, 5000));
  }
  EXPECT_FALSE(ReadReport(dir_, L"t") && ReadReport(dir_, L"t")->Has(L"exited"));
  // A close companion without a window yet is not found and keeps running.
  const ProbeReport c = Report(L"c");
  EXPECT_TRUE(ProcessAlive(static_cast<DWORD>(c.Number(L"pid"))));
  KillProcess(static_cast<DWORD>(c.Number(L"pid")));
}

TEST_F(LauncherWine, CloseRequestReachesTheVisibleWindowPastAHiddenOne) {
  RunToEnd(L"/c:" + Probe(L"c", L"-window -hiddenfirst") + L" /w:" + Probe(L"w", L"-exit 2000"));
  EXPECT_TRUE(Report(L"c", L"closed").Has(L"closed"));
}

TEST_F(LauncherWine, CloseRequestReachesAProcessWithOnlyAHiddenWindow) {
  RunToEnd(L"/c:" + Probe(L"c", L"-hiddenonly") + L" /w:" + Probe(L"w", L"-exit 2000"));
  EXPECT_TRUE(Report(L"c", L"closed").Has(L"closed"));
}

TEST_F(LauncherWine, MissingCloseProgramShowsThePathErrorAndStops) {
  StartedProcess launcher = StartLauncher(L"/b:" + Probe(L"b") + L" /t:" + Probe(L"t", L"-stay") +
                                          L" /c:Z:\\no\\such\\program.exe -x /c:" + Probe(L"c2") +
                                          L" /w:" + Probe(L"w") + L" /a:" + Probe(L"a"));
  HWND box = WaitForDialog(L"Kelmo Pro");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"パス指定を一部間違っている可能性があります。");
  EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const ProbeReport t = Report(L"t");
  Report(L"b");
  PressDialogButton(box, IDOK);
  ASSERT_TRUE(WaitForExit(launcher).has_value());
  EXPECT_FALSE(Started(L"c2"));
  EXPECT_FALSE(Started(L"w"));
  EXPECT_FALSE(Started(L"a"));
  EXPECT_TRUE(ProcessAlive(static_cast<DWORD>(t.Number(L"pid")))) << "held companions keep running";
  KillProcess(static_cast<DWORD>(t.Number(L"pid")));
}

TEST_F(LauncherWine, BlankCommandLineStartsNothingAndShowsNothing) {
  StartedProcess launcher = StartLauncher(L"     ");
  ASSERT_EQ(WaitForExit(launcher, 10000), std::optional<DWORD>(0));
  EXPECT_TRUE(TopLevelWindows(launcher.id).empty());
}

TEST_F(LauncherWine, WindowIsOutOfSightWhileWaiting) {
  const std::wstring release = dir_.File(L"release");
  StartedProcess launcher = StartLauncher(L"/w:" + Probe(L"w", L"-until " + release));
  Report(L"w");
  HWND form = nullptr;
  for (HWND window : TopLevelWindows(launcher.id)) {
    if (WindowText(window) == L"Form1") form = window;
  }
  ASSERT_NE(form, nullptr) << "frmMain not found";
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_TRUE(IsIconic(form));
  // Wine answers GetWindowPlacement of another process's window with its
  // current (icon) rectangle; the placement itself is checked in-process by
  // LauncherWindowWine.SetUpPutsTheWindowLeftOfTheScreen.
  CloseHandle(CreateFileW(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  EXPECT_TRUE(WaitForExit(launcher).has_value());
}

TEST_F(LauncherWine, QuotedPathWithSpacesAndJapaneseArguments) {
  const std::wstring folder = dir_.File(L"with space");
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\probe copy.exe";
  ASSERT_TRUE(CopyFileW((BinDir() + L"\\probe.exe").c_str(), copy.c_str(), FALSE));
  RunToEnd(L"/b:\"" + copy + L"\" q 日本語 /w:" + Probe(L"w", L"-exit 200"));
  EXPECT_EQ(Report(L"q").Text(L"args"), L"q 日本語");
  Report(L"w", L"exited");
  WaitUntil([&] { return DeleteFileW(copy.c_str()) != 0; }, 5000);
}

TEST(LauncherWindowWine, SetUpPutsTheWindowLeftOfTheScreen) {
  HWND form = CreateLauncherWindow(GetModuleHandleW(nullptr));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), L"Form1");
  EXPECT_FALSE(IsWindowVisible(form)) << "created hidden";
  RECT client = {};
  GetClientRect(form, &client);
  const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
  EXPECT_NEAR(client.right, MulDiv(3744, dpi, 1440), 1);

  Win32LaunchPlatform platform(form);
  platform.MoveWindowLeftOfScreen();
  RECT moved = {};
  GetWindowRect(form, &moved);
  EXPECT_EQ(moved.right, 0) << "left edge at minus the window's width";
  platform.ShowWindow();
  platform.MinimizeWindow();
  platform.HideWindow();
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(form, &placement);
  EXPECT_TRUE(IsIconic(form));
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(placement.rcNormalPosition.right, 0);
  EXPECT_EQ(placement.rcNormalPosition.left, moved.left);
  DestroyWindow(form);
}

}  // namespace
}  // namespace kelmo
