// The parts of a Windows path, taken apart as text: its file name, its
// folder and its extension. Portable: nothing is looked up on disk.
#pragma once

#include <string>
#include <string_view>

namespace kelmo {

// The text after the last \, / or drive colon of `path`; all of `path` when
// it has none.
std::wstring_view FileNameOf(std::wstring_view path);

// The text before the file name without the separator that ends it, except
// where that separator is the root ("C:\", "\"), which stays. "C:" for the
// drive-relative "C:x"; empty when `path` names no folder.
std::wstring_view FolderOf(std::wstring_view path);

// The file name's last dot and what follows it (".lnk"); empty when the file
// name has no dot.
std::wstring_view ExtensionOf(std::wstring_view path);

// `path` with its file name replaced by `name`; the folder stays as written.
std::wstring WithFileName(std::wstring_view path, std::wstring_view name);

// True when `a` and `b` differ at most in the case of ASCII letters, as file
// names and paths that name the same file do.
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

}  // namespace kelmo
