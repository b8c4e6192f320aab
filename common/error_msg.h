// The error report box shown by both programs. Win32 only.
#pragma once

#include <string_view>

#include "common/error_report.h"
#include "common/failure.h"

namespace kelmo {

// Shows the report of `failure`, caught at `sPlace`, in a system-modal error
// box titled "エラー - <product title>" (MessageBoxA, style 0x1010). Returns
// when the user has pressed OK.
void ErrorMsg(const ProgramIdentity& program, std::wstring_view sPlace, const Failure& failure);

}  // namespace kelmo
