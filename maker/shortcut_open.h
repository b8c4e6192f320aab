// Opening an existing launcher shortcut for editing: its target decides the
// launcher, its argument string becomes the item list's entries. Portable:
// the window's operations are reached through OpenPlatform, so the whole
// sequence runs against a recording fake in tests.
//
// Entries are the argument string cut exactly where the launcher cuts it
// (common/group_entries.h), each kept as its text: joined again with
// BuildArgumentString they give back the argument string the launcher read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/group_entries.h"
#include "maker/item_composer.h"
#include "maker/opened_group.h"
#include "maker/shortcut_make.h"

namespace kelmo {

// The launcher a shortcut's target names, by its file name alone (any
// folder, any letter case): "kelmo.exe" or "kelmoPro.exe"; nullopt for any
// other target.
std::optional<LauncherChoice> LauncherOfTarget(std::wstring_view targetPath);

// For the entries of KelmoProEntries and StandardEntries,
// BuildArgumentString gives back the argument string with its leading spaces
// replaced by the one space it puts first (the empty text for a blank string).

// The file name of `path` without a final ".lnk" in any letter case: the
// name make asks for first after an open.
std::wstring ShortcutNameOf(std::wstring_view path);

// True when `path` ends with ".lnk" in any letter case: a dropped file that
// is opened as a group rather than taken as a program.
bool HasShortcutExtension(std::wstring_view path);

// The fields of a shortcut file's fixed header that Wine's shell link does
// not hand back as stored (it loads every show command as 1).
struct ShortcutHeader {
  std::uint32_t linkFlags = 0;
  int showCmd = 0;
  std::uint16_t hotkey = 0;
};

inline constexpr std::size_t kShortcutHeaderSize = 0x4C;
inline constexpr std::size_t kLinkFlagsOffset = 0x14;
// The link flags of "run as administrator" (SLDF_RUNAS_USER) and of an
// installer's shortcut (SLDF_HAS_DARWINID).
inline constexpr std::uint32_t kRunAsUserFlag = 0x2000;
inline constexpr std::uint32_t kAdvertisedFlag = 0x1000;

// The header at the start of `bytes`: its size field 0x4C, the shell link
// class id, then the link flags at 0x14, the show command at 0x3C and the
// hot key at 0x40, all little-endian. nullopt when `bytes` is shorter or
// another kind of file.
std::optional<ShortcutHeader> ParseShortcutHeader(std::string_view bytes);

enum class OpenMessage {
  NotAShortcut,          // the file could not be read as a shortcut
  OtherProgram,          // a shortcut whose target is neither launcher
  ReplaceList,           // the yes/no question before a non-empty list is replaced
  SeveralFiles,          // several files were dropped; only the first is used
  NoFileTarget,          // a shortcut to a shell item that is no file
  FolderDropped,         // a folder cannot be the program text
  ProgramNotInCodePage,  // a program's path the ANSI code page cannot hold
  ProgramNotFound,       // a program whose short path cannot be had
  EntryNotRewritten,     // the entry menu's change would cut the entry in two
  SlashInArguments,      // a dropped shortcut's arguments would cut a kelmoPro entry in two
};

// The box for `message`; `path` is the file concerned (the list entry, for
// EntryNotRewritten) and `target` the shortcut's target (used by
// OtherProgram only).
MessageText OpenMessageText(OpenMessage message, std::wstring_view path,
                            std::wstring_view target = {});

// The window-side operations of an open. Any of them may throw; RunOpen lets
// the failure pass to its caller.
class OpenPlatform {
 public:
  virtual ~OpenPlatform() = default;
  // The shortcut's contents, or nullopt when the file cannot be read as a
  // shortcut. A shortcut to a shell item that is no file has no target.
  virtual std::optional<ShortcutContents> ReadShortcut(const std::wstring& path) = 0;
  virtual bool ListIsEmpty() = 0;
  // True for Yes.
  virtual bool AskYesNo(const MessageText& question) = 0;
  virtual void ShowMessage(const MessageText& message) = 0;
  // Chooses the launcher, replaces the list and makes it the opened group.
  virtual void ShowGroup(const OpenedGroup& group) = 0;
  // Puts `program` (its short path) and `arguments` into the program text
  // box as a dropped program goes there. `program` is the target as the
  // shortcut holds it, environment variables unexpanded.
  virtual void TakeProgram(const std::wstring& program, const std::wstring& arguments) = 0;
  // Puts the file `path` itself into the program text box, as a dropped
  // file goes there.
  virtual void TakeFile(const std::wstring& path) = 0;
};

// What an open does with a shortcut to a program that is neither launcher.
enum class OtherTarget {
  Refused,      // OtherProgram message: a group was asked for
  ProgramText,  // the program and its arguments become the program text
};

// The open sequence:
//  1. the file is read (unreadable: NotAShortcut, nothing changes);
//  2. an installer's shortcut, dropped, is itself the program text; a
//     shortcut without a file target shows NoFileTarget;
//  3. the target names the launcher (neither: as `otherTarget` says);
//  4. the arguments are cut into entries for that launcher;
//  5. a non-empty list is replaced only after Yes to ReplaceList;
//  6. the group is shown.
// True when the group was shown.
bool RunOpen(OpenPlatform& platform, const std::wstring& path,
             OtherTarget otherTarget = OtherTarget::Refused);

}  // namespace kelmo
