// kelmoPro: runs the launch command line it was started with, then ends.
#include <windows.h>

#include <deque>
#include <new>
#include <optional>

#include "launcher/launch_run.h"
#include "launcher/win/launch_platform.h"
#include "launcher/win/launcher_window.h"
#include "launcher/win/shell_start_in_job.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A copy that the launcher made to start a program inside a job.
  if (const std::optional<int> exitCode = kelmo::RunAsShellStartCopy()) return *exitCode;
  const std::wstring_view arguments = kelmo::ArgumentText(GetCommandLineW());
  // A blank command line ends the launcher before any window exists.
  if (kelmo::IsBlankCommandLine(arguments)) return 0;
  // The copies that start whole trees inside their jobs start up while the
  // window is made and the run works up to them. A tree not made ready here
  // (no job could be made, or memory ran out) is made ready at its start; a
  // command line that could not be read for want of memory is left to the
  // run, which reads it again and reports it.
  std::deque<kelmo::PreparedTree> trees;
  try {
    if (const std::optional<kelmo::LaunchPlan> plan = kelmo::ParseLaunchCommandLine(arguments)) {
      for (std::size_t i = kelmo::TreeStartsThroughTheShell(*plan); i > 0; --i) {
        if (std::optional<kelmo::PreparedTree> tree = kelmo::PrepareTree()) {
          trees.push_back(std::move(*tree));
        }
      }
    }
  } catch (const std::bad_alloc&) {
  }
  HWND window = kelmo::CreateLauncherWindow(instance);
  kelmo::Win32LaunchPlatform platform(window, std::move(trees));
  kelmo::RunLaunch(arguments, platform);
  DestroyWindow(window);
  return 0;
}
