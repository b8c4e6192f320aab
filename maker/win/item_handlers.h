// The click handlers of the launcher choice (optKelmoSet) and the list
// buttons (cmdList), and the item composer's window side (GetCmdLine). Each
// catches every failure, shows the error report with its place name and
// returns. Win32 only.
#pragma once

#include <string>

#include "maker/win/maker_form.h"

namespace kelmo {

// 1 (kelmoPro) empties the list, which then is a new group, and enables the
// option groups; 0 (standard launcher) disables them and keeps the list. The
// launcher already chosen does nothing.
void optKelmoSet_Click(MakerForm& form, int index);

// Add, delete, up, down, clear (maker/item_list.h); clear, and a delete
// that leaves the list empty, make the list a new group.
void cmdList_Click(MakerForm& form, int index);

// The entry for the program text and the options, or the empty text when
// there is nothing to add or composing failed (reported as
// "frmMain!GetCmdLine").
std::wstring GetCmdLine(MakerForm& form);

}  // namespace kelmo
