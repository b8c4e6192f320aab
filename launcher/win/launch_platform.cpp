#include "launcher/win/launch_platform.h"

#include "common/failure.h"
#include "common/win/error_msg.h"
#include "launcher/launcher_identity.h"
#include "launcher/win/launcher_window.h"
#include "launcher/win/process_control.h"

namespace kelmo {

namespace {

HANDLE AsHandle(std::uintptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

void Win32LaunchPlatform::MoveWindowLeftOfScreen() { kelmo::MoveWindowLeftOfScreen(window_); }
// The window never takes the activation: showing and minimizing it would
// otherwise pull the focus away from whatever the user is working in, and
// each activation change costs a round of focus messages before the first
// program can start.
void Win32LaunchPlatform::ShowWindow() { ::ShowWindow(window_, SW_SHOWNA); }
void Win32LaunchPlatform::MinimizeWindow() { ::ShowWindow(window_, SW_SHOWMINNOACTIVE); }
void Win32LaunchPlatform::HideWindow() { ::ShowWindow(window_, SW_HIDE); }

void Win32LaunchPlatform::DetachedStart(const ExeArgs& program, int showMode) {
  kelmo::DetachedStart(window_, program, showMode);
}

ProcessHandle Win32LaunchPlatform::ExecProcess(const ExeArgs& program, int showMode) {
  return ProcessHandle(
      *this, reinterpret_cast<std::uintptr_t>(kelmo::ExecProcess(window_, program, showMode)));
}

ProcessHandle Win32LaunchPlatform::CommandLineStart(const std::wstring& commandLine,
                                                    int windowStyle) {
  return ProcessHandle(
      *this, reinterpret_cast<std::uintptr_t>(kelmo::CommandLineStart(commandLine, windowStyle)));
}

void Win32LaunchPlatform::WaitForProcessToEnd(const ExeArgs& program, int showMode) {
  kelmo::WaitForProcessToEnd(window_, program, showMode);
}

void Win32LaunchPlatform::ForcedEnd(ProcessHandle handle) {
  kelmo::ForcedEnd(AsHandle(handle.release()));
}

void Win32LaunchPlatform::CloseProcessHandle(std::uintptr_t handle) {
  CloseHandle(AsHandle(handle));
}

void Win32LaunchPlatform::CloseRequest(ProcessHandle handle) {
  kelmo::CloseRequest(AsHandle(handle.get()), true);
}

FollowedProgram Win32LaunchPlatform::Hold(FollowedProcess program) {
  followed_.emplace_back(std::move(program));
  return FollowedProgram(*this, followed_.size());
}

std::optional<PreparedTree> Win32LaunchPlatform::TakeTree(bool wholeTree) {
  if (!wholeTree) return std::nullopt;
  if (prepared_.empty()) return PrepareTree();
  std::optional<PreparedTree> tree = std::move(prepared_.front());
  prepared_.pop_front();
  return tree;
}

FollowedProgram Win32LaunchPlatform::HeldStart(const ExeArgs& program, int showMode,
                                               bool wholeTree) {
  std::optional<FollowedProcess> started =
      StartFollowedProcess(window_, program, showMode, TakeTree(wholeTree), true);
  return started ? Hold(std::move(*started)) : FollowedProgram();
}

FollowedProgram Win32LaunchPlatform::StartFollowed(const ExeArgs& program, int showMode,
                                                   bool wholeTree, std::wstring_view place) {
  try {
    std::optional<FollowedProcess> started =
        StartFollowedProcess(window_, program, showMode, TakeTree(wholeTree));
    return started ? Hold(std::move(*started)) : FollowedProgram();
  } catch (...) {
    kelmo::ErrorMsg(kLauncherProgram, place, CurrentFailure());
    return FollowedProgram();
  }
}

FollowedProgram Win32LaunchPlatform::CommandLineStartFollowed(const std::wstring& commandLine,
                                                              int windowStyle, bool wholeTree) {
  return Hold(CommandLineStartFollowedProcess(commandLine, windowStyle, wholeTree));
}

void Win32LaunchPlatform::CloseFollowed(const FollowedProgram& program) {
  Held(program).AskToClose();
}

void Win32LaunchPlatform::WaitForFollowedToEnd(const FollowedProgram& program) {
  Held(program).WaitToEnd(window_);
}

bool Win32LaunchPlatform::FollowedIsRunning(const FollowedProgram& program) {
  return Held(program).IsRunning();
}

void Win32LaunchPlatform::WaitForAnyFollowed(const std::vector<const FollowedProgram*>& programs,
                                             std::uint32_t timeoutMs) {
  std::vector<const FollowedProcess*> held;
  held.reserve(programs.size());
  for (const FollowedProgram* program : programs) held.push_back(&Held(*program));
  WaitForAnyFollowedProcess(held, timeoutMs);
}

void Win32LaunchPlatform::EndFollowed(const FollowedProgram& program) { Held(program).End(); }

bool Win32LaunchPlatform::FollowedShowsWindow(const FollowedProgram& program) {
  return Held(program).ShowsWindow();
}

bool Win32LaunchPlatform::FollowedIsConsoleProgram(const FollowedProgram& program) {
  return Held(program).IsConsoleProgram();
}

bool Win32LaunchPlatform::SessionIsEnding() { return kelmo::SessionIsEnding(window_); }

FollowedProgram Win32LaunchPlatform::FollowProcess(const RunningProcess& process) {
  std::optional<FollowedProcess> held = FollowRunningProcess(process);
  return held ? Hold(std::move(*held)) : FollowedProgram();
}

std::optional<std::wstring> Win32LaunchPlatform::EnvironmentVariable(std::wstring_view name) {
  const std::wstring variable(name);
  const DWORD size = GetEnvironmentVariableW(variable.c_str(), nullptr, 0);
  std::wstring value(size, L'\0');
  if (size == 0 || GetEnvironmentVariableW(variable.c_str(), value.data(), size) >= size) {
    return std::nullopt;
  }
  return std::wstring(value.c_str());
}

void Win32LaunchPlatform::WaitForReadiness(const FollowedProgram& program,
                                           std::uint32_t timeoutMs) {
  Held(program).WaitForReadiness(timeoutMs);
}

void Win32LaunchPlatform::ReleaseFollowed(std::uintptr_t program) {
  followed_[program - 1].reset();
}

void Win32LaunchPlatform::ShowPathErrorMessage() {
  MessageBoxW(nullptr, kPathErrorText, kLauncherApplicationTitle, kPathErrorStyle);
}

void Win32LaunchPlatform::ErrorMsg(std::wstring_view place, const Failure& failure) {
  kelmo::ErrorMsg(kLauncherProgram, place, failure);
}

}  // namespace kelmo
