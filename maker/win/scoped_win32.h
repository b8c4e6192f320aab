// Owners of the maker's raw Win32 resources (see ScopedResource); null is
// "none" for every kind. Win32 only.
#pragma once

// <windows.h> first: the shell headers build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "common/win/win_handle.h"

namespace kelmo {

namespace scoped_win32_detail {
inline void FreeFont(HFONT font) { DeleteObject(font); }
inline void FreeIcon(HICON icon) { DestroyIcon(icon); }
inline void FreeWindow(HWND window) { DestroyWindow(window); }
inline void FreeDrop(HDROP drop) { DragFinish(drop); }
inline void FreeArguments(LPWSTR* arguments) { LocalFree(arguments); }
}  // namespace scoped_win32_detail

using UniqueFont = ScopedResource<HFONT, scoped_win32_detail::FreeFont>;
// For icons loaded without LR_SHARED only: shared icons belong to the system.
using UniqueIcon = ScopedResource<HICON, scoped_win32_detail::FreeIcon>;
using UniqueWindow = ScopedResource<HWND, scoped_win32_detail::FreeWindow>;
// A drop received with WM_DROPFILES: memory of this process that DragFinish
// releases.
using UniqueDrop = ScopedResource<HDROP, scoped_win32_detail::FreeDrop>;
// The array CommandLineToArgvW allocates.
using UniqueArgumentArray = ScopedResource<LPWSTR*, scoped_win32_detail::FreeArguments>;

}  // namespace kelmo
