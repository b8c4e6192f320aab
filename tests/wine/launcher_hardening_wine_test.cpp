// kelmoPro.exe against odd and extreme launch command lines under Wine: it
// must end, start what the text names and nothing else, and lose nothing.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/win_text.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

// Waits for the launcher to end, pressing OK on any box it shows meanwhile
// (the path error, the shell's own "not found"); gives how many it answered.
int RunAnsweringBoxes(StartedProcess& launcher, int timeoutMs = 30000) {
  int answered = 0;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (GetTickCount64() < deadline) {
    if (WaitForExit(launcher, 20).has_value()) return answered;
    for (HWND window : TopLevelWindows(launcher.id)) {
      wchar_t className[16] = {};
      GetClassNameW(window, className, 16);
      if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
        PressDialogButton(window, IDOK);
        ++answered;
      }
    }
  }
  ADD_FAILURE() << "launcher did not end";
  KillProcess(launcher.id);
  return answered;
}

TEST(LauncherHardeningWine, CommandLineAtTheWindowsLimitWithThousandsOfItems) {
  ProbeDir dir;
  const std::wstring first = L"/b:" + ProbeCommand(L"first");
  const std::wstring last = L" /a:" + ProbeCommand(L"last");
  std::wstring middle;
  // Empty items, items without a timing letter and items without a colon:
  // all held or dropped, none started.
  const std::wstring fillers[] = {L" /a:", L" /x:", L" /t:", L" /zz", L" /c:", L" /b:  "};
  const std::size_t limit = 32767 - (BinDir().size() + 16) - first.size() - last.size();
  for (std::size_t i = 0; middle.size() + 8 < limit; ++i) middle += fillers[i % 6];
  const std::wstring arguments = first + middle + last;
  ASSERT_GT(arguments.size(), 32000u);

  StartedProcess launcher = StartLauncher(arguments);
  EXPECT_EQ(RunAnsweringBoxes(launcher), 0);
  WaitForReport(dir, L"first");
  WaitForReport(dir, L"last");
}

TEST(LauncherHardeningWine, TextsOutsideTheCodePageReachTheProgramAsConverted) {
  ProbeDir dir;
  // é and the emoji have no Shift-JIS form; ア and 漢 do.
  const std::wstring arguments = L"u é ア 漢 \U0001F600";
  StartedProcess launcher =
      StartLauncher(L"/b:" + ProbeCommand(arguments) + L" /w:" + ProbeCommand(L"w"));
  EXPECT_EQ(RunAnsweringBoxes(launcher), 0);
  const ProbeReport report = WaitForReport(dir, L"u");
  EXPECT_EQ(report.Text(L"args"), FromAnsi(ToAnsi(arguments)));
  EXPECT_NE(report.Text(L"args").find(L"ア 漢"), std::wstring::npos);
  WaitForReport(dir, L"w");
}

TEST(LauncherHardeningWine, BinaryGarbageNeverCrashesTheLauncher) {
  ProbeDir dir;
  std::mt19937 random(20261207);
  for (int round = 0; round < 6; ++round) {
    std::wstring garbage;
    for (int i = 0; i < 600; ++i) {
      wchar_t unit = static_cast<wchar_t>(1 + random() % 0xFFFE);
      if (unit >= 0xD800 && unit <= 0xDFFF) unit = L'/';  // no lone surrogates in a command line
      garbage += unit;
    }
    StartedProcess launcher =
        StartLauncher(garbage + L" /a:" + ProbeCommand(L"after" + std::to_wstring(round)));
    RunAnsweringBoxes(launcher);
    DWORD code = 0;
    GetExitCodeProcess(launcher.process.get(), &code);
    EXPECT_EQ(code, 0u) << "round " << round;
  }
}

TEST(LauncherHardeningWine, WaitedProgramThatEndsAtOnce) {
  ProbeDir dir;
  StartedProcess launcher =
      StartLauncher(L"/w:" + BinDir() + L"\\trivial.exe /a:" + ProbeCommand(L"a") + L" /t:" +
                    ProbeCommand(L"t", L"-stay"));
  EXPECT_EQ(RunAnsweringBoxes(launcher), 0);
  WaitForReport(dir, L"a");
  if (auto t = ReadReport(dir, L"t"); t && t->Has(L"pid")) {
    EXPECT_TRUE(
        WaitUntil([&] { return !ProcessAlive(static_cast<DWORD>(t->Number(L"pid"))); }, 5000));
  }
}

TEST(LauncherHardeningWine, FiftyTerminateCompanionsAreAllGone) {
  ProbeDir dir;
  const std::wstring release = dir.File(L"release");
  std::wstring arguments;
  for (int i = 0; i < 50; ++i)
    arguments += L"/t:" + ProbeCommand(L"t" + std::to_wstring(i), L"-stay") + L" ";
  arguments += L"/w:" + ProbeCommand(L"w", L"-until " + release);
  StartedProcess launcher = StartLauncher(arguments);
  std::vector<DWORD> companions;
  for (int i = 0; i < 50; ++i) {
    companions.push_back(
        static_cast<DWORD>(WaitForReport(dir, L"t" + std::to_wstring(i)).Number(L"pid")));
  }
  CloseHandle(CreateFileW(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  EXPECT_EQ(RunAnsweringBoxes(launcher), 0);
  for (DWORD id : companions) {
    EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(id); }, 5000))
        << "companion " << id << " still runs";
  }
}

}  // namespace
}  // namespace kelmo
