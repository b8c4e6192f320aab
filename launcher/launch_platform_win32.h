// The launch run's operations on real Windows. Win32 only.
#pragma once

#include <windows.h>

#include <optional>

#include "common/com_init.h"
#include "launcher/launch_run.h"

namespace kelmo {

class Win32LaunchPlatform final : public LaunchPlatform {
 public:
  explicit Win32LaunchPlatform(HWND window) : window_(window) {}

  // COM for the launcher's thread (apartment-threaded, OLE1 DDE off),
  // released when the platform goes at the end of WinMain.
  void PrepareShell() override {
    if (!com_) com_.emplace();
  }
  void MoveWindowLeftOfScreen() override;
  void ShowWindow() override;
  void MinimizeWindow() override;
  void HideWindow() override;
  void DetachedStart(const ExeArgs& program, int showMode) override;
  ProcessHandle ExecProcess(const ExeArgs& program, int showMode) override;
  ProcessId CommandLineStart(const std::wstring& commandLine, int windowStyle) override;
  void WaitForProcessToEnd(const ExeArgs& program, int showMode) override;
  void ForcedEnd(ProcessHandle handle) override;
  void CloseRequest(ProcessId processId) override;
  void ShowPathErrorMessage() override;
  void ErrorMsg(std::wstring_view place, const Failure& failure) override;

 private:
  HWND window_;
  std::optional<ScopedComInitialization> com_;
};

}  // namespace kelmo
