// The launcher's process operations called directly, against real processes.
#include <gtest/gtest.h>

#include <thread>

#include "common/failure.h"
#include "launcher/process_control.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

ExeArgs ProbeProgram(const std::wstring& tag, const std::wstring& options = L"") {
  std::wstring parameters = tag;
  if (!options.empty()) parameters += L" " + options;
  return {BinDir() + L"\\probe.exe", parameters};
}

TEST(ShellExecuteRecord, IsFilledAsTheShellStartsExpect) {
  HWND owner = reinterpret_cast<HWND>(0x1234);
  const SHELLEXECUTEINFOA record = FillShellExecuteRecord(owner, "a.exe", nullptr, 7);
  EXPECT_EQ(record.cbSize, 60u);
  EXPECT_EQ(record.fMask, 0x40u);
  EXPECT_EQ(record.hwnd, owner);
  EXPECT_STREQ(record.lpVerb, "open");
  EXPECT_STREQ(record.lpFile, "a.exe");
  EXPECT_EQ(record.lpParameters, nullptr);
  EXPECT_EQ(record.lpDirectory, nullptr);
  EXPECT_EQ(record.nShow, 7);
  EXPECT_EQ(record.hInstApp, nullptr);
  EXPECT_EQ(record.hProcess, nullptr);
}

TEST(ProcessControlWine, ExecProcessHoldsAHandleThatForcedEndTerminatesAndCloses) {
  ProbeDir dir;
  HANDLE process = ExecProcess(nullptr, ProbeProgram(L"t", L"-stay"), 4);
  ASSERT_NE(process, nullptr);
  const ProbeReport report = WaitForReport(dir, L"t");
  EXPECT_EQ(report.Number(L"show"), 4);
  EXPECT_EQ(static_cast<long long>(GetProcessId(process)), report.Number(L"pid"));
  ForcedEnd(process);
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(process, &flags)) << "handle still open after the forced end";
  EXPECT_TRUE(
      WaitUntil([&] { return !ProcessAlive(static_cast<DWORD>(report.Number(L"pid"))); }, 5000));
  ForcedEnd(nullptr);  // a null slot has nothing to end
}

TEST(ProcessControlWine, WaitForProcessToEndReturnsOnlyAfterTheExit) {
  ProbeDir dir;
  WaitForProcessToEnd(nullptr, ProbeProgram(L"w", L"-exit 400"), 10);
  // The probe writes "exited" just before it returns from its main.
  const auto report = ReadReport(dir, L"w");
  ASSERT_TRUE(report.has_value());
  EXPECT_TRUE(report->Has(L"exited"));
}

TEST(ProcessControlWine, CommandLineStartGivesThePidAndTheStyle) {
  ProbeDir dir;
  const DWORD id = CommandLineStart(BinDir() + L"\\probe.exe c -exit 100", 6);
  const ProbeReport report = WaitForReport(dir, L"c");
  EXPECT_EQ(static_cast<long long>(id), report.Number(L"pid"));
  EXPECT_EQ(report.Number(L"show"), 6);
  EXPECT_EQ(report.Number(L"flags") & STARTF_USESHOWWINDOW, STARTF_USESHOWWINDOW);
}

TEST(ProcessControlWine, CommandLineStartOfAMissingProgramIsThePathError) {
  for (const wchar_t* missing :
       {L"Z:\\no\\such\\dir\\x.exe", L"no_such_program_kelmo.exe -a", L"\"Z:\\nope\\a b.exe\""}) {
    try {
      CommandLineStart(missing, 1);
      ADD_FAILURE() << "no failure for " << Narrow(missing);
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), kPathError) << Narrow(missing);
    }
  }
}

TEST(ProcessControlWine, CloseRequestFindsNothingForAProcessWithoutWindows) {
  ProbeDir dir;
  const DWORD withWindow = CommandLineStart(BinDir() + L"\\probe.exe win -window", 1);
  WaitForReport(dir, L"win", L"windows");
  CloseRequest(withWindow);
  EXPECT_NE(hFoundWnd, nullptr);
  WaitForReport(dir, L"win", L"closed");

  const DWORD windowless = CommandLineStart(BinDir() + L"\\probe.exe bare -exit 3000", 1);
  WaitForReport(dir, L"bare");
  CloseRequest(windowless);
  EXPECT_EQ(hFoundWnd, nullptr) << "a window found for one process must not be reused for another";
  EXPECT_TRUE(ProcessAlive(windowless));
  KillProcess(windowless);
}

TEST(ProcessControlWine, ExecProcessOfAMissingFileGivesNull) {
  // The shell may show its own "not found" box (the error UI is not
  // suppressed); answer it if it comes.
  HANDLE process = reinterpret_cast<HANDLE>(1);
  std::thread starter([&] {
    process = ExecProcess(nullptr, {L"Z:\\no\\such\\file.exe", std::nullopt}, 10);
  });
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (process == reinterpret_cast<HANDLE>(1) && GetTickCount64() < deadline) {
    for (HWND window : TopLevelWindows(GetCurrentProcessId())) {
      wchar_t className[16] = {};
      GetClassNameW(window, className, 16);
      if (std::wstring(className) == L"#32770" && IsWindowVisible(window))
        PressDialogButton(window, IDOK);
    }
    Sleep(20);
  }
  starter.join();
  EXPECT_EQ(process, nullptr);
}

}  // namespace
}  // namespace kelmo
