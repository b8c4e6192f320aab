// The maker's input box: a modal dialog with a prompt, one edit line, OK and
// Cancel. Win32 only.
#pragma once

#include <windows.h>

#include <string>

namespace kelmo {

// Shows the box owned by `owner` (may be null) and returns when it is
// dismissed: the edit line's text for OK (or Enter), the empty text for
// Cancel, Escape or closing the box. `defaultText` fills the edit line first.
std::wstring InputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                      const std::wstring& defaultText = L"");

// The box that asks for the shortcut's name; its edit line starts with
// `offeredName` (empty unless a shortcut was opened), selected, so that Enter
// takes it and typing replaces it.
std::wstring AskShortcutNameBox(HWND owner, const std::wstring& offeredName = L"");

}  // namespace kelmo
