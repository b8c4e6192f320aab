// Files dropped on the maker window (WM_DROPFILES): the drop taken apart
// into its files, and what the window does with them. Win32 only.
#pragma once

#include <string>
#include <vector>

#include "maker/win/maker_window_access.h"
#include "maker/win/scoped_win32.h"

namespace kelmo {

// The files of `drop`, in the order the drop lists them.
std::vector<std::wstring> DroppedFiles(HDROP drop);

// The handler of a drop on the window or any of its controls; it releases
// the drop before any box is shown. The first file alone is used, after a
// short note when there were several: a shortcut to a launcher is opened as
// a group, a shortcut to another program gives its program and arguments to
// the text box, and any other file goes to the text box (TakeProgram in
// maker/win/open_platform.h). Catches every failure and reports it as
// "Form_DropFiles".
void Form_DropFiles(MakerWindowAccess& window, UniqueDrop drop);

}  // namespace kelmo
