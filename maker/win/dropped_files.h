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
// the text box, and any other file goes to the text box (TakeProgram).
// Catches every failure and reports it as "Form_DropFiles".
void Form_DropFiles(MakerWindowAccess& window, UniqueDrop drop);

// Puts the short path of `program`, then a space and `arguments` when there
// are any, into txtCmd. The path goes through the wide short-path call, and
// it is quoted where the launcher chosen would cut it (DroppedProgramText).
// The text must pass the ANSI code page exactly (the path without
// look-alikes, as a target is checked by make), since make writes it
// through the ANSI shell link call. A folder, a program whose short path
// cannot be had, or a text the code page cannot hold leaves the text box as
// it was and shows why.
void TakeProgram(MakerWindowAccess& window, const std::wstring& program,
                 const std::wstring& arguments);

// `path` with its environment variables (%windir%, ...) expanded as this
// process sees them; a variable that is not set stays as written.
std::wstring ExpandedPath(const std::wstring& path);

}  // namespace kelmo
