// The boxes the maker shows over its window: a message of its own, and the
// error report of a failure a handler caught. Win32 only.
#pragma once

#include <windows.h>

#include <string_view>

#include "maker/shortcut_make.h"

namespace kelmo {

// Shows `message` in a message box owned by `owner` (wide text); gives
// the button pressed (IDOK, IDYES, ...).
int ShowMessageText(HWND owner, const MessageText& message);

// Reports the failure being handled under `place` in a box owned by the
// maker window `owner`; call it only inside a catch block.
void ReportCaughtFailure(HWND owner, std::wstring_view place);

}  // namespace kelmo
