// Small text helpers shared by the launcher and the maker. Portable: no Win32.
#pragma once

#include <string>
#include <string_view>

namespace kelmo {

// Returns `text` without its leading and trailing ASCII spaces (U+0020 only).
// Tabs and other white space are kept: the programs treat only the space
// character as padding.
std::wstring TrimSpaces(std::wstring_view text);

// Decimal digits of `value`, a minus sign before a negative one, padded with
// leading zeros to at least `minDigits` digits. (The C++ library's
// to_wstring would pull the whole wide printf machinery into the programs.)
std::wstring DecimalText(long long value, std::size_t minDigits = 1);

// Whether the ANSI code page's look-alikes count as the text itself. In code
// page 932 the yen sign (U+00A5) and the overline (U+203E) share the bytes of
// the backslash and the tilde; Japanese users type them in paths and mean
// those characters.
enum class LookAlikes { Accepted, Refused };

// True when `roundTrip`, the text that came back from converting `original`
// to the ANSI code page and back, still says what `original` said: the same
// characters, except that with LookAlikes::Accepted a yen sign may have come
// back as a backslash and an overline as a tilde.
bool SurvivedRoundTrip(std::wstring_view original, std::wstring_view roundTrip,
                       LookAlikes lookAlikes);

}  // namespace kelmo
