// kelmoCM: opens the maker window and serves it until it is closed. A
// shortcut named on the command line is opened into the shown window.
#include <windows.h>

#include <string>
#include <vector>

#include "common/win/com_init.h"
#include "maker/win/main_window.h"
#include "maker/win/open_platform.h"
#include "maker/win/scoped_win32.h"

namespace {

// The program's arguments without the program itself; none when the
// command line cannot be taken apart.
std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  const kelmo::UniqueArgumentArray arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!arguments) return {};
  return std::vector<std::wstring>(arguments.get() + (count > 0 ? 1 : 0), arguments.get() + count);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Once for the program's one thread: the shell link and the open-file
  // dialog of browse and make need it.
  const kelmo::ScopedComInitialization com;
  kelmo::MainWindow window;
  if (!window.Create(instance)) return 1;
  window.Show(showCommand);
  kelmo::OpenCommandLineShortcut(window.Form(), CommandLineArguments());
  return kelmo::RunMessageLoop(window.Handle());
}
