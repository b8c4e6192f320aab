// The make button: joins the item list into the shortcut's arguments, asks
// for a name and saves a shortcut to the chosen launcher on the desktop.
// Portable: the window's operations are reached through MakePlatform, so the
// whole sequence runs against a recording fake in tests.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_util.h"
#include "maker/item_composer.h"
#include "maker/shortcut_contents.h"

namespace kelmo {

// Argument string plus target path may hold at most this many characters.
inline constexpr std::size_t kMaxArgumentsAndTarget = 249;

// " " + entries[0] + " " + entries[1] + ...; empty for no entries. Entries
// are neither quoted nor changed.
std::wstring BuildArgumentString(const std::vector<std::wstring>& entries);

// Removes every \ / : , ; * ? " < > |, every control character (U+0000..
// U+001F, DEL, U+0080..U+009F), every format character that hides or
// reorders text (U+00AD, U+061C, U+200B..U+200F, U+202A..U+202E,
// U+2060..U+2064, U+2066..U+2069, U+FEFF) and every surrogate that is not
// half of a pair, so that a name cannot show an ending other than its real
// one nor be refused by the file system; then trims leading and trailing
// ASCII spaces.
std::wstring CleanShortcutName(std::wstring_view name);

// True when the last component of `path` names a device rather than a file:
// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0..COM9 and LPT0..LPT9 (also with
// the superscript digits 1, 2 and 3), in any case, with or without an
// extension, with trailing dots or spaces. Writing to such a name reaches the
// device (a serial or printer port), whatever folder it stands in.
bool NamesDevice(std::wstring_view path);

// True when a shortcut with these lengths must be refused: the sum is more
// than kMaxArgumentsAndTarget. Does not overflow for any pair of sizes.
bool ExceedsLengthLimit(std::size_t argumentLength, std::size_t targetLength);

// The messages a make can end with. Each stops the make; none leaves a file.
enum class MakeMessage {
  DesktopLookupFailed,
  EmptyName,
  TooLong,
  CreateFailed,  // the shell link object reported that it wrote nothing
};

// A message box's text, title and MB_* style.
struct MessageText {
  std::wstring text;
  std::wstring title;
  unsigned style = 0;
};

MessageText MakeMessageText(MakeMessage message);

// The shortcut would hold a text that the ANSI code page cannot hold: make
// refuses it and names it. `position` counts from 1.
MessageText EntryNotInCodePageMessage(std::size_t position, std::wstring_view entry);
MessageText TargetNotInCodePageMessage(std::wstring_view target);

// Shown instead of the error report when a failure numbered
// kMissingFunction reaches the click handler (the desktop lookup function is
// missing from the system's shell library).
MessageText MissingFunctionMessage();

// The question before a make when the program text box holds `entry`
// (what the add button would append), which the list does not.
MessageText AddBeforeMakeQuestion(std::wstring_view entry);

// The button a Yes, No and Cancel box was answered with.
enum class Answer { Yes, No, Cancel };

// The input box that asks for the shortcut's name.
struct PromptText {
  std::wstring prompt;
  std::wstring title;
};

PromptText NamePromptText();

// The window-side operations of a make. Any of them may throw kelmo::Failure
// (DesktopFolder throws number kMissingFunction when the lookup function
// cannot be bound); RunMake lets it pass to its caller.
class MakePlatform {
 public:
  virtual ~MakePlatform() = default;
  // The item list's entries, first to last.
  virtual std::vector<std::wstring> Entries() = 0;
  // The entry the add button would append for the program text box as it
  // stands; empty when the box is blank.
  virtual std::wstring PendingEntry() = 0;
  virtual Answer AskYesNoCancel(const MessageText& question) = 0;
  // Appends `entry` to the list and empties the program text box, as the
  // add button does.
  virtual void AddEntry(const std::wstring& entry) = 0;
  // True when `path` names a file that is there.
  virtual bool FileExists(const std::wstring& path) = 0;
  // The desktop folder as the file system names it (the shortcut's path
  // reaches wide calls only, so any name will do), or nullopt when the lookup
  // reported failure.
  virtual std::optional<std::wstring> DesktopFolder() = 0;
  // The folder of the running maker executable.
  virtual std::wstring MakerFolder() = 0;
  virtual LauncherChoice Launcher() = 0;
  // The name typed into the prompt, which starts with `offered`; empty when
  // the prompt was cancelled.
  virtual std::wstring AskShortcutName(const std::wstring& offered) = 0;
  virtual void ShowMakeFailure(MakeMessage message) = 0;
  // A refusal that names what it refuses.
  virtual void ShowMessage(const MessageText& message) = 0;
  // True when `text` passes through the ANSI code page, as the shell link
  // object's ANSI calls take it, and still says the same.
  virtual bool HeldByCodePage(const std::wstring& text, LookAlikes lookAlikes) = 0;
  // True when the shortcut file was written.
  virtual bool CreateShellLink(const ShellLinkRequest& request) = 0;
};

class OpenedGroupState;

// The make sequence:
//  1. an empty list ends the make without a message;
//  2. an entry pending in the program text box that the list lacks is
//     asked about: Yes adds it, No leaves it out, Cancel ends;
//  3. the entries are joined into the argument string; an entry the ANSI
//     code page cannot hold (look-alikes accepted) is named and ends;
//  4. the desktop folder is looked up (failure, or an empty path, shows
//     DesktopLookupFailed and ends);
//  5. the shortcut's settings and target come from `group` (a new group's
//     target is the launcher file in the maker's folder, and so is an
//     opened group's when its own launcher file is gone and the maker's is
//     there); a target the code page cannot hold exactly is named and ends;
//  6. the name is asked for, offering the group's; the offered name taken
//     as it is stands for the group's own shortcut, any other answer is
//     cleaned (empty shows EmptyName and ends);
//  7. the shortcut file is the group's own one for its offered name, else
//     desktop folder + name + ".lnk";
//  8. arguments plus the target written over the limit shows TooLong and
//     ends;
//  9. the shell link is written, without the hot key when the file is not
//     the group's own (a copy); if that fails, CreateFailed is shown,
//     otherwise `group` becomes the group just saved.
// A shortcut of the same name is replaced by the shell link object.
void RunMake(MakePlatform& platform, OpenedGroupState& group);

}  // namespace kelmo
