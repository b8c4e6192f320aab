// The context menu of the maker's list entries: the seconds a companion gets
// to close or a before or after program holds back the next start,
// "including the programs it starts" and "wait until it is ready". Win32
// only.
#pragma once

#include <windows.h>

#include "maker/item_composer.h"

namespace kelmo {

// Handles WM_CONTEXTMENU of the list box `listBox` in the window `owner`;
// `where` is the message's lParam: the screen position of a right click, or
// -1 for Shift+F10 and the menu key. A click first selects the entry under
// the cursor (a click below the last entry shows nothing); the keyboard uses
// the selected entry. Only kelmoPro entries that the launcher reads get the
// menu; what does not apply to the entry's timing is greyed. The chosen
// change replaces the entry in its place, selected; a change the entry
// cannot take (see WithSeconds) leaves it as it was, with a box that
// says why. Catches every failure and reports it as "lstCmd_ContextMenu".
void lstCmd_ContextMenu(HWND owner, HWND listBox, LPARAM where, LauncherChoice launcher);

}  // namespace kelmo
