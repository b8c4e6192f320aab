// The launch run's operations on real Windows. Win32 only.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <vector>

#include "common/win/com_init.h"
#include "launcher/launch_run.h"
#include "launcher/win/followed_program.h"
#include "launcher/win/running_processes.h"

namespace kelmo {

class Win32LaunchPlatform final : public LaunchPlatform {
 public:
  // `trees`: made ready for the plan's starts of whole trees (PrepareTree),
  // taken in order by them.
  explicit Win32LaunchPlatform(HWND window, std::deque<PreparedTree> trees = {})
      : window_(window), prepared_(std::move(trees)) {}

  // COM for the launcher's thread (apartment-threaded, OLE1 DDE off),
  // released when the platform goes at the end of WinMain.
  void InitializeCom() override {
    if (!com_) com_.emplace();
  }
  void MoveWindowLeftOfScreen() override;
  void ShowWindow() override;
  void MinimizeWindow() override;
  void HideWindow() override;
  void DetachedStart(const ExeArgs& program, int showMode) override;
  FollowedProgram HeldStart(const ExeArgs& program, int showMode, bool wholeTree) override;
  ProcessHandle ExecProcess(const ExeArgs& program, int showMode) override;
  ProcessHandle CommandLineStart(const std::wstring& commandLine, int windowStyle) override;
  void WaitForProcessToEnd(const ExeArgs& program, int showMode) override;
  void ForcedEnd(ProcessHandle handle) override;
  void CloseRequest(ProcessHandle handle) override;
  FollowedProgram StartFollowed(const ExeArgs& program, int showMode, bool wholeTree,
                                std::wstring_view place) override;
  FollowedProgram CommandLineStartFollowed(const std::wstring& commandLine, int windowStyle,
                                           bool wholeTree) override;
  void CloseFollowed(const FollowedProgram& program) override;
  void WaitForFollowedToEnd(const FollowedProgram& program) override;
  bool FollowedIsRunning(const FollowedProgram& program) override;
  void WaitForAnyFollowed(const std::vector<const FollowedProgram*>& programs,
                          std::uint32_t timeoutMs) override;
  void EndFollowed(const FollowedProgram& program) override;
  bool FollowedShowsWindow(const FollowedProgram& program) override;
  bool FollowedIsConsoleProgram(const FollowedProgram& program) override;
  void WaitForReadiness(const FollowedProgram& program, std::uint32_t timeoutMs) override;
  void Pause(std::uint32_t timeoutMs) override { PauseHandlingSentMessages(window_, timeoutMs); }
  bool SessionIsEnding() override;
  std::vector<RunningProcess> NewerProcesses() override { return newer_.Read(); }
  FollowedProgram FollowProcess(const RunningProcess& process) override;
  std::optional<std::wstring> EnvironmentVariable(std::wstring_view name) override;
  std::wstring LongPathForm(const std::wstring& path) override { return LongPathOf(path); }
  std::uint64_t NowMs() override { return GetTickCount64(); }
  void ShowPathErrorMessage() override;
  void ErrorMsg(std::wstring_view place, const Failure& failure) override;

 private:
  void CloseProcessHandle(std::uintptr_t handle) override;
  void ReleaseFollowed(std::uintptr_t program) override;
  FollowedProgram Hold(FollowedProcess program);
  // The job and copy made ready for a tree start, or made now; none
  // without `wholeTree`.
  std::optional<PreparedTree> TakeTree(bool wholeTree);
  const FollowedProcess& Held(const FollowedProgram& program) const {
    return *followed_[program.get() - 1];
  }

  HWND window_;
  std::optional<ScopedComInitialization> com_;
  // The programs the run follows; the number a FollowedProgram holds is the
  // place here plus one. One let go of leaves its place empty.
  std::vector<std::optional<FollowedProcess>> followed_;
  std::deque<PreparedTree> prepared_;
  NewerProcessList newer_;
};

}  // namespace kelmo
