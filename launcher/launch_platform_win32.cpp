#include "launcher/launch_platform_win32.h"

#include "common/error_msg.h"
#include "common/win_text.h"
#include "launcher/launcher_identity.h"
#include "launcher/launcher_window.h"
#include "launcher/process_control.h"

namespace kelmo {

namespace {

HANDLE AsHandle(ProcessHandle handle) { return reinterpret_cast<HANDLE>(handle); }

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
  return reinterpret_cast<ProcessHandle>(kelmo::ExecProcess(window_, program, showMode));
}

ProcessId Win32LaunchPlatform::CommandLineStart(const std::wstring& commandLine, int windowStyle) {
  return kelmo::CommandLineStart(commandLine, windowStyle);
}

void Win32LaunchPlatform::WaitForProcessToEnd(const ExeArgs& program, int showMode) {
  kelmo::WaitForProcessToEnd(window_, program, showMode);
}

void Win32LaunchPlatform::ForcedEnd(ProcessHandle handle) { kelmo::ForcedEnd(AsHandle(handle)); }

void Win32LaunchPlatform::CloseRequest(ProcessId processId) { kelmo::CloseRequest(processId); }

void Win32LaunchPlatform::ShowPathErrorMessage() {
  MessageBoxA(nullptr, ToAnsi(kPathErrorText).c_str(), ToAnsi(kLauncherApplicationTitle).c_str(),
              kPathErrorStyle);
}

void Win32LaunchPlatform::ErrorMsg(std::wstring_view place, const Failure& failure) {
  kelmo::ErrorMsg(kLauncherProgram, place, failure);
}

}  // namespace kelmo
