// The two buttons of the cmdCmd group: 0 browses for a program, 1 makes the
// desktop shortcut. Win32 only.
#pragma once

#include <windows.h>

#include "maker/win/maker_window_access.h"

namespace kelmo {

// Click on cmdCmd `index`; any other index does nothing. Catches every
// failure: 453 shows the missing-function message, any other the error
// report with the place name "cmdCmd_Click". Make writes the window's
// opened group with the settings of its shortcut (see RunMake).
void cmdCmd_Click(MakerWindowAccess& window, int index);

}  // namespace kelmo
