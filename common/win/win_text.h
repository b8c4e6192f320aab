// Conversion between the programs' wide text and the system's ANSI code page,
// done at every call of an ANSI entry point. Win32 only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/text_util.h"

namespace kelmo {

// For texts that are only shown (message boxes, captions): characters the
// code page cannot hold become what WideCharToMultiByte gives for them (the
// code page's default character or a look-alike).
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

// For texts that name something (a program path, an argument, a file path):
// the ANSI form, or nullopt when it no longer says what `text` says, that is
// when the conversion used the code page's default character or the round
// trip back to wide text differs (see SurvivedRoundTrip).
std::optional<std::string> ToAnsiExact(std::wstring_view text,
                                       LookAlikes lookAlikes = LookAlikes::Accepted);

// ToAnsiExact for a text handed to a program; throws kelmo::Failure
// kTextNotInCodePage, naming the text, when the code page cannot hold it.
std::string ToAnsiForProgram(std::wstring_view text);

// `text` up to its first NUL.
std::string_view UpToNul(std::string_view text);

}  // namespace kelmo
