// A group shortcut's argument string cut into its entries, as each launcher
// reads it: kelmo.exe starts the standard entries, and the maker shows the
// entries of both kinds when it opens a group. Portable: no Win32.
//
// Entries are kept as their text: joined again with one space before each
// they give back the argument string (leading spaces aside, which both
// launchers pass over), so a group opened and made again is written byte for
// byte as before.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelmo {

// kelmoPro's launch items, one entry per piece of the argument string as the
// launcher cuts it at every " /": the first piece as written, every later one
// with its slash put back. Leading spaces are dropped; extra spaces between
// items stay at the end of the earlier entry. Pieces the launcher drops (no
// colon, or no timing letter before it) are kept as entries too, unchanged,
// so that nothing the shortcut held is lost. No entry is empty.
std::vector<std::wstring> KelmoProEntries(std::wstring_view arguments);

// The standard launcher's quoted entries: the argument string without its
// leading spaces, cut at the last space of every run of spaces that stands
// between a closing and an opening double quote. Text that is not in quotes
// stays inside the entry it is found in. No entry is empty.
std::vector<std::wstring> StandardEntries(std::wstring_view arguments);

}  // namespace kelmo
