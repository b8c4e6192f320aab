// Conversion between the programs' wide text and the system's ANSI code page,
// done at every call of an ANSI entry point. Win32 only.
#pragma once

#include <string>
#include <string_view>

namespace kelmo {

// Characters the code page cannot hold become what WideCharToMultiByte
// gives for them (the code page's default character).
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

// `text` up to its first NUL.
std::string_view UpToNul(std::string_view text);

}  // namespace kelmo
