// kelmoCM: opens the maker window and serves it until it is closed. A
// shortcut named on the command line is opened into the shown window.
#include <windows.h>

#include "common/com_init.h"
#include "maker/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Once for the program's one thread: the shell link and the open-file
  // dialog of browse and make need it.
  const kelmo::ScopedComInitialization com;
  kelmo::MainWindow window;
  if (!window.Create(instance)) return 1;
  window.Show(showCommand);
  window.OpenCommandLineShortcut();
  return kelmo::RunMessageLoop(window.Handle());
}
