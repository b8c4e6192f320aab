// kelmoPro.exe against odd and extreme launch command lines under Wine: it
// must end, start what the text names and nothing else, and lose nothing.
#include <windows.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "launcher/launch_command_line.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/launcher_fixture.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

TEST_F(LauncherWine, CommandLineAtTheWindowsLimitWithThousandsOfItems) {
  const std::wstring first = L"/b:" + Probe(L"first");
  const std::wstring last = L" /a:" + Probe(L"last");
  std::wstring middle;
  // Empty items, items without a timing letter and items without a colon:
  // all held or dropped, none started.
  const std::wstring fillers[] = {L" /a:", L" /x:", L" /t:", L" /zz", L" /c:", L" /b:  "};
  const std::size_t limit = 32767 - (BinDir().size() + 16) - first.size() - last.size();
  for (std::size_t i = 0; middle.size() + 8 < limit; ++i) middle += fillers[i % 6];
  const std::wstring arguments = first + middle + last;
  ASSERT_GT(arguments.size(), 32000u);

  StartedProcess launcher = StartLauncher(arguments);
  EXPECT_TRUE(DismissBoxesUntilExit(launcher).empty());
  Report(L"first");
  Report(L"last");
}

// The garbage is fixed by its seed: it holds no item separator and no colon
// with a timing letter before it, so the plan is the one after entry alone
// and the run must start it without a box.
TEST_F(LauncherWine, BinaryGarbageNeverCrashesTheLauncher) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::wstring garbage;
    for (int i = 0; i < 600; ++i) {
      wchar_t unit = static_cast<wchar_t>(1 + random() % 0xFFFE);
      if (unit >= 0xD800 && unit <= 0xDFFF) unit = L'/';  // no lone surrogates in a command line
      garbage += unit;
    }
    const std::wstring tag = L"after" + std::to_wstring(round);
    const std::wstring arguments = garbage + L" /a:" + Probe(tag);
    const auto plan = ParseLaunchCommandLine(arguments);
    ASSERT_TRUE(plan.has_value());
    ASSERT_TRUE(plan->before.empty() && plan->terminate.empty() && plan->close.empty() &&
                !plan->waited);
    ASSERT_EQ(plan->after.size(), 1u);

    StartedProcess launcher = StartLauncher(arguments);
    EXPECT_TRUE(DismissBoxesUntilExit(launcher).empty());
    EXPECT_EQ(WaitForExit(launcher, 0), std::optional<DWORD>(0));
    Report(tag);
  }
}

TEST_F(LauncherWine, FiftyTerminateCompanionsAreAllGone) {
  std::wstring arguments;
  for (int i = 0; i < 50; ++i)
    arguments += L"/t:" + Probe(L"t" + std::to_wstring(i), L"-stay") + L" ";
  arguments += L"/w:" + WaitedUntilReleased(L"w");
  StartedProcess launcher = StartLauncher(arguments);
  std::vector<StartedProcess> companions;
  for (int i = 0; i < 50; ++i) companions.push_back(Watch(L"t" + std::to_wstring(i)));
  Release();
  EXPECT_TRUE(DismissBoxesUntilExit(launcher).empty());
  for (const StartedProcess& companion : companions) {
    EXPECT_EQ(WaitForExit(companion), std::optional<DWORD>(0)) << "companion " << companion.id;
  }
}

// The launcher's running children, each with its handles on the launcher.
std::map<DWORD, int> ChildrenOf(DWORD launcherId) {
  std::map<DWORD, int> copies;
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID != launcherId) continue;
    const UniqueHandle copy(OpenProcess(PROCESS_DUP_HANDLE, FALSE, entry.th32ProcessID));
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
      HANDLE mine = nullptr;
      DuplicateHandle(copy.get(), reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &mine,
                      PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0);
      copies[entry.th32ProcessID] += GetProcessId(UniqueHandle(mine).get()) == launcherId;
    }
  }
  return copies;
}

// While p's pause holds, the launcher's one child is w's copy, ended here before its call.
TEST_F(LauncherWine, TreeStartIsMadeThoughItsCopyWasEnded) {
  const StartedProcess launcher =
      StartLauncher(L"/bg5:" + Probe(L"p") + L" /wg:" + WaitedUntilReleased(L"w") + L" /a:" +
                    Probe(L"a", L"-env KELMO_SHELL_START_SECTION"));
  ASSERT_TRUE(WaitUntil([&] { return Started(L"p") && ChildrenOf(launcher.id).size() == 1; }));
  const auto [copy, held] = *ChildrenOf(launcher.id).begin();
  EXPECT_EQ(held, 1) << "a copy inherited another copy's handles";
  KillProcess(copy);
  Release();
  EXPECT_GE(Report(L"a").Number(L"created"), Report(L"w", L"exited").Number(L"exited"));
  EXPECT_EQ(Report(L"a", L"env").Text(L"env"), L"") << "a later start saw the copies' marker";
}

}  // namespace
}  // namespace kelmo
