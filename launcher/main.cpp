// kelmoPro: runs the launch command line it was started with, then ends.
#include <windows.h>

#include "launcher/launch_platform_win32.h"
#include "launcher/launch_run.h"
#include "launcher/launcher_window.h"
#include "launcher/shell_start_in_job.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A copy that the launcher made to start a program inside a job.
  if (const std::optional<int> exitCode = kelmo::RunAsShellStartCopy()) return *exitCode;
  const std::wstring_view arguments = kelmo::ArgumentText(GetCommandLineW());
  // A blank command line ends the launcher before any window exists.
  if (kelmo::IsBlankCommandLine(arguments)) return 0;
  HWND window = kelmo::CreateLauncherWindow(instance);
  kelmo::Win32LaunchPlatform platform(window);
  kelmo::RunLaunch(arguments, platform);
  DestroyWindow(window);
  return 0;
}
