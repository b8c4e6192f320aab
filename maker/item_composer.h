// Composes one item-list entry from the program text and the option groups
// of the maker window. Portable: the window reads its controls into a
// ComposerInput and hands it here.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kelmo {

// Which launcher the shortcut will run; the values are the option indexes of
// the launcher group in the maker window.
enum class LauncherChoice { Standard = 0, KelmoPro = 1 };

struct ComposerInput {
  LauncherChoice launcher = LauncherChoice::Standard;
  // Timing options by index: 0 before, 1 waited, 2 after, 3 companion.
  std::array<bool, 4> timing{};
  // Size options by index: 0 default (no letter), 1 minimized, 2 maximized,
  // 3 normal, 4 minimized without activation, 5 normal without activation.
  std::array<bool, 6> size{};
  // The program text box, exactly as typed.
  std::wstring programText;
};

// The entry for `input`, or the empty text when there is nothing to add
// (the program text is empty or only ASCII spaces).
//
// Standard launcher: the program text in double quotes, untrimmed, inner
// quotes not escaped. kelmoPro: timing text of the first set timing option
// ("/b", "/w", "/a", "/c"; none when no option is set), then the letter of
// the first set size option among indexes 1..5 ("m", "x", "n", "i", "o"),
// then ":" and the untrimmed program text. A " /" inside the program text is
// written unchanged even though the launcher splits items there.
std::wstring ComposeEntry(const ComposerInput& input);

// The program text for the path of a dropped program (its short form where
// the volume keeps one): the path itself, or, for kelmoPro, the path in
// double quotes when it holds a space. The launcher cuts an unquoted program
// text at its first space and reads a quoted path whole; a volume without
// short (8.3) names, the default on the non-system volumes of Windows 10 and
// 11, leaves the spaces of a long path in its short form. The standard
// launcher's entry quotes the whole program text itself.
std::wstring DroppedProgramText(std::wstring_view path, LauncherChoice launcher);

}  // namespace kelmo
