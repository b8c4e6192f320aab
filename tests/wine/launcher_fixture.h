// The fixture of every test of the launcher under Wine: kelmoPro.exe, or its
// process operations called directly, with probe programs as the group.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/split_exe_args.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo::testing_support {

class LauncherWine : public ::testing::Test {
 protected:
  // Runs the launcher to its end; fails the test when it does not end.
  void RunToEnd(const std::wstring& arguments, int timeoutMs = 20000) {
    StartedProcess launcher = StartLauncher(arguments);
    const auto code = WaitForExit(launcher, timeoutMs);
    ASSERT_TRUE(code.has_value()) << "launcher did not end: " << Narrow(arguments);
    EXPECT_EQ(*code, 0u);
  }
  void ExpectLauncherEnds(const StartedProcess& launcher) {
    EXPECT_EQ(WaitForExit(launcher, 30000), std::optional<DWORD>(0)) << "launcher did not end";
  }
  ProbeReport Report(const std::wstring& tag, const std::wstring& key = L"args") {
    return WaitForReport(dir_, tag, key);
  }
  bool Started(const std::wstring& tag) { return ReadReport(dir_, tag).has_value(); }
  // True when the probe `tag` starts within `timeoutMs`: for a program that a
  // broken launcher would start as soon as it could.
  bool StartsWithin(const std::wstring& tag, int timeoutMs) {
    return WaitUntil([&] { return Started(tag); }, timeoutMs);
  }
  std::wstring Probe(const std::wstring& tag, const std::wstring& options = L"") {
    return ProbeCommand(tag, options);
  }
  // The same probe as the file and parameters of a start made directly.
  static ExeArgs ProbeProgram(const std::wstring& tag, const std::wstring& options = L"") {
    return {BinDir() + L"\\probe.exe", tag + (options.empty() ? L"" : L" " + options)};
  }
  // Option text for a probe that ends once the test calls Release().
  std::wstring UntilReleased() const { return L"-until " + release_; }
  // A waited probe that ends only when the test calls Release().
  std::wstring WaitedUntilReleased(const std::wstring& tag) { return Probe(tag, UntilReleased()); }
  // Option text for a probe that starts a child `childTag` with `childOptions`
  // (by default: stays until Release()) before anything else.
  std::wstring Spawning(const std::wstring& childTag,
                        const std::wstring& childOptions = L"") const {
    return L"-spawn " + childTag + L" " + (childOptions.empty() ? UntilReleased() : childOptions);
  }
  void Release() { CreateReleaseFile(release_); }
  // Starts the launcher, waits until each probe of `tags` has written `key`
  // ("windows" once its windows exist), releases the waited probe and waits
  // for the launcher's end; gives the time it ended.
  long long RunReleasingAfter(const std::wstring& arguments, const std::vector<std::wstring>& tags,
                              const std::wstring& key = L"windows") {
    StartedProcess launcher = StartLauncher(arguments);
    for (const std::wstring& tag : tags) Report(tag, key);
    Release();
    const auto code = WaitForExit(launcher);
    EXPECT_EQ(code, std::optional<DWORD>(0)) << "launcher did not end: " << Narrow(arguments);
    return ExitTime(launcher);
  }
  // The probe `tag`, opened once it has written `key` so that its end and
  // exit code can be seen however it ends.
  StartedProcess Watch(const std::wstring& tag, const std::wstring& key = L"args") {
    return WatchProcess(static_cast<DWORD>(Report(tag, key).Number(L"pid")));
  }
  // The launcher's window "Form1", or null.
  static HWND LauncherForm(const StartedProcess& launcher) {
    for (HWND window : TopLevelWindows(launcher.id)) {
      if (WindowText(window) == L"Form1") return window;
    }
    return nullptr;
  }
  // Whether the window answers a message sent to it within 3 s, as a
  // broadcast needs: a thread that blocks without looking answers none.
  static bool Answers(HWND window, UINT message = WM_NULL, WPARAM wParam = 0,
                      DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, message, wParam, 0, SMTO_BLOCK, 3000,
                               result ? result : &ignored) != 0;
  }
  // A box's answer that first watches the probe `tag` into `watched`: the
  // box holds the launcher until that probe has started.
  DialogAnswer WatchThenOk(StartedProcess& watched, const std::wstring& tag) {
    return [this, &watched, tag](HWND box) {
      watched = Watch(tag);
      PressDialogButton(box, IDOK);
    };
  }

  ProbeDir dir_;
  const std::wstring release_ = dir_.File(L"release");
  const std::wstring releaseWaited_ = dir_.File(L"release-waited");
};

}  // namespace kelmo::testing_support
