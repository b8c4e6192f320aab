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

// The program text for the program at `path` (its short form where the
// volume keeps one) followed by `arguments`: the path, in double quotes when
// it holds a space or when arguments follow, then a space and the arguments
// when there are any. The launcher cuts an unquoted program text at the
// later of its first space and its first slash, and reads a quoted path
// whole: a volume without short (8.3) names, the default on the non-system
// volumes of Windows 10 and 11, leaves the spaces of a long path in it, and
// arguments may hold a slash (a URL). The text is the same for both
// launchers, as it stays in the text box when the choice changes.
std::wstring ProgramTextFor(std::wstring_view path, std::wstring_view arguments);

// True when a program text that ends with `arguments` would hold " /":
// kelmoPro ends an item at every space followed by a slash, so a switch such
// as "/v:host" cannot go into one of its entries.
bool ArgumentsCutByKelmoPro(std::wstring_view arguments);

}  // namespace kelmo
