// Which running programs a launch item's text names, so that the launcher
// can follow programs that another program starts (a store's client starting
// a game). Portable: the Win32 side lists the processes and their images.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelmo {

// A process that runs now, as the system lists it.
struct RunningProcess {
  std::uint32_t id = 0;
  // When it was created, in the system's units: with the id, it tells one
  // process from a later one that got the same id.
  std::uint64_t createdAt = 0;
  // Its image's full path in the long form, and the same path's short (8.3)
  // form or empty. A process the launcher may not open shows only its image's
  // file name, with no folder.
  std::wstring path;
  std::wstring shortPath;
};

// What a text names: programs with this file name ("game.exe"), the program
// at this full path, or every program in this folder (a text ending in a
// backslash) or below it.
struct NamePattern {
  enum class Kind { kFileName, kPath, kFolder };
  Kind kind = Kind::kFileName;
  std::wstring text;  // slashes as backslashes, without surrounding quotes or spaces
};

// The text with every %NAME% replaced by the value `variable(NAME)` gives (a
// std::optional<std::wstring>); a name it does not know stays as written, as
// Windows leaves it.
template <typename Lookup>
std::wstring ExpandVariables(std::wstring_view text, const Lookup& variable) {
  std::wstring expanded;
  std::size_t at = 0;
  for (std::size_t open; (open = text.find(L'%', at)) != std::wstring_view::npos;) {
    const std::size_t close = text.find(L'%', open + 1);
    if (close == std::wstring_view::npos) break;
    expanded.append(text.substr(at, open - at));
    const std::optional<std::wstring> value = variable(text.substr(open + 1, close - open - 1));
    if (!value) {
      expanded.append(text.substr(open, close - open));  // the second % may open the next name
      at = close;
      continue;
    }
    expanded.append(*value);
    at = close + 1;
  }
  return expanded.append(text.substr(at));
}

NamePattern ReadNamePattern(std::wstring_view text);

// Whether the process's image is what the pattern names, its long or its
// short form, ignoring the case of letters as Windows file names do.
bool MatchesName(const NamePattern& pattern, const RunningProcess& process);

}  // namespace kelmo
