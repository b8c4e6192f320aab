// The launcher's process operations called directly, against real processes.
#include <gtest/gtest.h>

#include "common/failure.h"
#include "launcher/win/followed_program.h"
#include "launcher/win/process_control.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/launcher_fixture.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

// The shell execute record seen through what the shell does with it: it
// accepts the record (size and verb), starts the file with the parameters and
// the show value, and hands back the process (SEE_MASK_NOCLOSEPROCESS).
TEST_F(LauncherWine, ExecProcessHoldsAHandleThatForcedEndTerminatesAndCloses) {
  HANDLE process = ExecProcess(nullptr, ProbeProgram(L"t", L"-stay"), 4);
  ASSERT_NE(process, nullptr);
  const ProbeReport report = Report(L"t");
  EXPECT_EQ(report.Number(L"show"), 4);
  EXPECT_EQ(report.Text(L"args"), L"t -stay");
  EXPECT_EQ(static_cast<long long>(GetProcessId(process)), report.Number(L"pid"));
  const StartedProcess watched = WatchProcess(GetProcessId(process));
  ForcedEnd(process);
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(process, &flags)) << "handle still open after the forced end";
  EXPECT_EQ(WaitForExit(watched), std::optional<DWORD>(0)) << "terminated with exit code 0";
}

TEST_F(LauncherWine, CommandLineStartOfAMissingProgramIsThePathError) {
  for (const wchar_t* missing :
       {L"Z:\\no\\such\\dir\\x.exe", L"no_such_program_kelmo.exe -a", L"\"Z:\\nope\\a b.exe\""}) {
    try {
      CloseHandle(CommandLineStart(missing, 1));
      ADD_FAILURE() << "no failure for " << Narrow(missing);
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), kPathError) << Narrow(missing);
    }
  }
}

TEST_F(LauncherWine, CloseRequestFindsNothingForAProcessWithoutWindows) {
  const UniqueHandle withWindow(CommandLineStart(Probe(L"win", L"-window"), 1));
  Report(L"win", L"windows");
  CloseRequest(withWindow.get(), true);
  EXPECT_NE(hFoundWnd, nullptr);
  Report(L"win", L"closed");

  const UniqueHandle windowless(CommandLineStart(Probe(L"bare", UntilReleased()), 1));
  Report(L"bare");
  const StartedProcess bare = WatchProcess(GetProcessId(windowless.get()));
  CloseRequest(windowless.get(), true);
  EXPECT_EQ(hFoundWnd, nullptr) << "a window found for one process must not be reused for another";
  ASSERT_TRUE(bare.process);
  Release();
  EXPECT_EQ(WaitForExit(bare), std::optional<DWORD>(3)) << "it ends by itself once released";
}

// fMask does not suppress the shell's own error display, so a missing file
// brings the shell's box up; either start returns once it is answered, with
// no process and no report of the launcher's. (With a tree the launcher's
// copy makes the call: see LauncherWine.UnstartableBeforeWaitedAndAfter….)
TEST_F(LauncherWine, AMissingFileGivesNoProcessAfterTheShellsOwnBox) {
  const ExeArgs missing{L"Z:\\no\\such\\file.exe", std::nullopt};
  DialogAnswerer boxes(GetCurrentProcessId(), {Press(IDOK), Press(IDOK)});
  EXPECT_EQ(ExecProcess(nullptr, missing, 10), nullptr);
  EXPECT_FALSE(StartFollowedProcess(nullptr, missing, 10, std::nullopt).has_value());
  EXPECT_EQ(boxes.Finish().size(), 2u);
}

}  // namespace
}  // namespace kelmo
