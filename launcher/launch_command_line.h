// The launch command line: the launcher's only input, turned into a launch plan.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmo {

// Win32 show-window values that a size letter can give.
inline constexpr int kShowHidden = 0;       // h
inline constexpr int kShowNormal = 1;       // n
inline constexpr int kShowMinimized = 2;    // m
inline constexpr int kShowMaximized = 3;    // x
inline constexpr int kShowNoActivate = 4;   // o
inline constexpr int kShowMinNoActive = 7;  // i
inline constexpr int kShowDefault = 10;     // d, and items without a size letter

// The longest grace or pause an item can ask for, in seconds; more is taken
// as this.
inline constexpr int kMaxGraceSeconds = 3600;
// How long the launcher waits for a program to be ready when the item gives
// no pause of its own, in seconds.
inline constexpr int kDefaultReadySeconds = 60;
// How long the launcher waits for a program followed by name to appear when
// the waited item gives no seconds of its own.
inline constexpr int kDefaultAppearSeconds = 60;

struct PlanEntry {
  std::wstring programText;  // program and its arguments, ASCII spaces trimmed; may be empty
  int showMode = kShowDefault;
  // Terminate and close entries only: seconds the program gets to close after
  // its close request before it is ended by force; 0 is no grace.
  int graceSeconds = 0;
  // Waited, terminate and close entries, and before and after entries that
  // are held (a pause or readiness): the program is followed together with
  // every process it starts, directly or through its children.
  bool wholeTree = false;
  // Before and after entries only: seconds the launcher waits after this
  // start before its next one; 0 is no pause.
  int pauseSeconds = 0;
  // Before, after, terminate and close entries: the wait after this start
  // ends as soon as the program is ready (it shows a window, or has ended).
  bool untilReady = false;
  // Waited, terminate and close entries: nothing is started; the program
  // text names the programs to follow, which another program starts.
  bool byName = false;
  // The waited entry with byName only: seconds the launcher waits for the
  // first such program to appear; 0 is kDefaultAppearSeconds.
  int appearSeconds = 0;

  bool operator==(const PlanEntry& other) const {
    return programText == other.programText && showMode == other.showMode &&
           graceSeconds == other.graceSeconds && wholeTree == other.wholeTree &&
           pauseSeconds == other.pauseSeconds && untilReady == other.untilReady &&
           byName == other.byName && appearSeconds == other.appearSeconds;
  }
};

// Every list is in command-line order. Entries with an empty program text keep
// their place (the run skips them, and their slots stay empty).
struct LaunchPlan {
  std::vector<PlanEntry> before;
  std::vector<PlanEntry> terminate;
  std::vector<PlanEntry> close;
  std::optional<PlanEntry> waited;  // the first w item; an empty program text waits for nothing
  std::vector<PlanEntry> after;
};

// True when the argument text holds nothing but spaces: the launcher then
// ends at once, before any window exists.
bool IsBlankCommandLine(std::wstring_view argumentText);

// Reads a launch command line (the launcher's arguments without its program
// name). Gives std::nullopt for a blank command line (nothing but spaces).
// Never fails: every piece that does not fit the grammar is dropped silently.
//
// Grammar: the text, with one space put in front, is cut at every " /". In
// each piece the first colon ends the letters; of the letters before it the
// first timing letter (a b t c w) and the first size letter (d h i m n o x)
// count, in either case; everything else is passed over. The program text is
// everything after that colon. Pieces without a colon or without a timing
// letter are dropped. Of several w items the first one is the waited entry.
// Among the letters, the first run of digits (capped at kMaxGraceSeconds) is
// a grace in seconds for t and c items and a pause after the start for b and
// a items; the letter r asks the b, a, t and c items to wait until the
// program is ready; the letter g asks for the whole process tree of a w, t or
// c item, and of a b or a item that is held for a pause or readiness. The
// letter p on a w, t or c item follows the programs its text names instead of
// starting one; g and r are then passed over, and the digits of a w item are
// how long to wait for the first to appear. None of them changes what the
// letters decide.
std::optional<LaunchPlan> ParseLaunchCommandLine(std::wstring_view argumentText);

// The argument text of a whole process command line: what follows the
// program name (quoted or not) and the blanks after it, inner spaces unchanged.
std::wstring_view ArgumentText(std::wstring_view processCommandLine);

// Show mode of a size letter, or kNoSizeLetter when the character is not one.
inline constexpr int kNoSizeLetter = -1;
int ShowModeOfSizeLetter(wchar_t letter);

}  // namespace kelmo
