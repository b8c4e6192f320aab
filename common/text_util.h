// Small text helpers shared by the launcher and the maker. Portable: no Win32.
#pragma once

#include <string>
#include <string_view>

namespace kelmo {

// Returns `text` without its leading and trailing ASCII spaces (U+0020 only).
// Tabs and other white space are kept: the programs treat only the space
// character as padding.
std::wstring TrimSpaces(std::wstring_view text);

}  // namespace kelmo
