// The error report box shown by both programs. Win32 only.
#pragma once

#include <windows.h>

#include <string_view>

#include "common/error_report.h"
#include "common/failure.h"

namespace kelmo {

// Shows the report of `failure`, caught at `sPlace`, in a system-modal error
// box titled "エラー - <product title>" (MessageBoxW, style 0x1010). Returns
// when the user has pressed OK. `owner` is the window the box blocks while it
// is up: the maker passes its window, so that no click reaches a handler
// again inside the box's message loop; the launcher passes null, its window
// being hidden and without a message loop.
void ErrorMsg(const ProgramIdentity& program, std::wstring_view sPlace, const Failure& failure,
              HWND owner = nullptr);

}  // namespace kelmo
