// The options a kelmoPro entry can carry beside its timing and size letters:
// seconds (the time a companion gets to close after its close request, or
// the pause after a before or after program's start), whether a program is
// followed together with every program it starts, and whether the next start
// waits until the program is ready. They live among the entry's letters
// (digits, and the letters g and r), where the launcher's letter scan passes
// over them. Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelmo {

// What the context menu may change on one kelmoPro entry.
struct EntryOptions {
  int seconds = 0;            // the first run of digits among the letters, at most 3600
  bool wholeTree = false;     // a g among the letters
  bool untilReady = false;    // an r among the letters
  bool graceApplies = false;  // a companion (t or c): the seconds are its grace
  bool pauseApplies = false;  // a before or after program (b or a): the seconds are a pause
  bool readyApplies = false;  // a before or after program or a companion (b, a, t or c)
  // A waited program or a companion (w, t or c), or a before or after program
  // held for a pause or readiness; never with p.
  bool treeApplies = false;
  bool byName = false;         // a p among the letters: nothing is started, the name is followed
  bool byNameApplies = false;  // a waited program or a companion (w, t or c)
  bool hidden = false;         // the size letter that counts is h: no window is shown
};

// The options of `entry` as the launcher reads them: its letters are what
// stands before the first colon, after a leading slash. Gives nullopt when
// the launcher would drop the entry (no colon, or no timing letter).
std::optional<EntryOptions> ReadEntryOptions(std::wstring_view entry);

// `entry` with its seconds (a grace or a pause) set to `seconds` (0 removes
// them; more than 3600 is written as 3600): every digit among the letters is
// dropped, and the new digits go after the timing letter and a g that
// follows it. The program text is never touched. An entry ReadEntryOptions
// refuses comes back as it is. nullopt when the change cannot be written:
// the new letters would hold a " /", where the launcher cuts an entry in two
// (a dropped digit between a space and a slash). A " /" in the program text
// is no obstacle.
std::optional<std::wstring> WithSeconds(std::wstring_view entry, int seconds);

// `entry` with the letter g after its timing letter (on), or with every g
// among its letters removed (off). Otherwise as WithSeconds; an entry that
// already is as asked comes back as it is.
std::optional<std::wstring> WithWholeTree(std::wstring_view entry, bool on);

// `entry` with the letter r at the end of its letters (on: /b10:vpn.exe
// becomes /b10r:vpn.exe), or with every r among its letters removed (off).
// Otherwise as WithWholeTree.
std::optional<std::wstring> WithUntilReady(std::wstring_view entry, bool on);

// `entry` with the letter p at the end of its letters (on), or with every p
// among them removed (off). Otherwise as WithWholeTree.
std::optional<std::wstring> WithByName(std::wstring_view entry, bool on);

// `entry` with the size letter h (on: every other size letter goes, and h
// follows the timing letter), or without any size letter, the default show
// (off). Otherwise as WithWholeTree.
std::optional<std::wstring> WithHidden(std::wstring_view entry, bool on);

// The seconds typed into the input box: ASCII or full-width digits with
// spaces around them, more than 3600 taken as 3600. Gives nullopt for an
// empty text (the box was cancelled) or anything that is not a number.
std::optional<int> ParseSeconds(std::wstring_view typed);

}  // namespace kelmo
