// Opening an existing launcher shortcut for editing: its target decides the
// launcher, its argument string becomes the item list's entries. Portable:
// the window's operations are reached through OpenPlatform, so the whole
// sequence runs against a recording fake in tests.
//
// Entries are the argument string cut exactly where the launcher cuts it, each
// kept as its text: joined again with BuildArgumentString they give back the
// argument string the launcher read (leading spaces aside, which it passes
// over), so a group opened and made again is written byte for byte as before.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/item_composer.h"
#include "maker/shortcut_make.h"

namespace kelmo {

// The launcher a shortcut's target names, by its file name alone (any
// folder, any letter case): "kelmo.exe" or "kelmoPro.exe"; nullopt for any
// other target.
std::optional<LauncherChoice> LauncherOfTarget(std::wstring_view targetPath);

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

// For the entries of both functions, BuildArgumentString gives back the
// argument string with its leading spaces replaced by the one space it puts
// first (the empty text for a blank string).

// The file name of `path` (after its last \ or /) without a final ".lnk" in
// any letter case: the name make asks for first after an open.
std::wstring ShortcutNameOf(std::wstring_view path);

// True when `path` ends with ".lnk" in any letter case: a dropped file that
// is opened as a group rather than taken as a program.
bool HasShortcutExtension(std::wstring_view path);

// What a shortcut file holds for opening.
struct ShortcutContents {
  std::wstring target;
  std::wstring arguments;
};

// A group read from a shortcut, ready to be shown in the window.
struct OpenedGroup {
  LauncherChoice launcher = LauncherChoice::Standard;
  std::vector<std::wstring> entries;
  std::wstring name;  // the shortcut's name, offered by the next make
};

enum class OpenMessage {
  NotAShortcut,  // the file could not be read as a shortcut
  OtherProgram,  // a shortcut whose target is neither launcher
  ReplaceList,   // the yes/no question before a non-empty list is replaced
  SeveralFiles,  // several files were dropped; only the first is used
};

// The box for `message`; `path` is the file concerned and `target` the
// shortcut's target (used by OtherProgram only).
MessageText OpenMessageText(OpenMessage message, std::wstring_view path,
                            std::wstring_view target = {});

// The window-side operations of an open. Any of them may throw; RunOpen lets
// the failure pass to its caller.
class OpenPlatform {
 public:
  virtual ~OpenPlatform() = default;
  // The shortcut's target and arguments, or nullopt when the file cannot be
  // read as a shortcut.
  virtual std::optional<ShortcutContents> ReadShortcut(const std::wstring& path) = 0;
  virtual bool ListIsEmpty() = 0;
  // True for Yes.
  virtual bool AskYesNo(const MessageText& question) = 0;
  virtual void ShowMessage(const MessageText& message) = 0;
  // Chooses the launcher, replaces the list and remembers the name.
  virtual void ShowGroup(const OpenedGroup& group) = 0;
};

// The open sequence:
//  1. the file is read (unreadable: NotAShortcut, nothing changes);
//  2. the target names the launcher (neither: OtherProgram, nothing changes);
//  3. the arguments are cut into entries for that launcher;
//  4. a non-empty list is replaced only after Yes to ReplaceList;
//  5. the group is shown.
// True when the group was shown.
bool RunOpen(OpenPlatform& platform, const std::wstring& path);

}  // namespace kelmo
