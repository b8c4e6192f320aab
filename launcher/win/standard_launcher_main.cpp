// kelmo.exe, the standard launcher: starts every program of its command line
// through the shell, in order, with the default show and nothing held, as
// kelmoPro starts a before item, then ends. It makes no window and runs no
// message loop. A program the shell cannot start gets the box the shell shows
// for it on a double-click, and the next one still starts.
#include <windows.h>

#include <string>
#include <vector>

#include "common/failure.h"
#include "common/win/com_init.h"
#include "common/win/error_msg.h"
#include "launcher/launch_command_line.h"
#include "launcher/launcher_identity.h"
#include "launcher/standard_command_line.h"
#include "launcher/win/process_control.h"

namespace {

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Reports the failure being handled; call it only inside a catch block.
void ReportCaught() {
  kelmo::ErrorMsg(kelmo::kStandardLauncherProgram, L"WinMain", kelmo::CurrentFailure());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::wstring_view arguments = kelmo::ArgumentText(GetCommandLineW());
  if (kelmo::IsBlankCommandLine(arguments)) return 0;
  // The shell may hand a start to an extension that needs COM on this thread.
  const kelmo::ScopedComInitialization com;
  std::vector<kelmo::ExeArgs> programs;
  try {
    programs = kelmo::ReadStandardCommandLine(arguments, PathExists);
  } catch (...) {
    ReportCaught();
    return 0;
  }
  for (const kelmo::ExeArgs& program : programs) {
    // Only a text the ANSI code page cannot hold (or memory running out)
    // throws; that program is reported and the next one still starts.
    try {
      kelmo::DetachedStartShowingFailure(nullptr, program, kelmo::kShowDefault);
    } catch (...) {
      ReportCaught();
    }
  }
  return 0;
}
