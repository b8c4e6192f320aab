// Reading a written shortcut (.lnk) file independently of cShellLink: the
// header's fields straight from the bytes ([MS-SHLLINK] 2.1) and the texts
// through the shell's wide interface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kelmo::testing_support {

// LinkFlags bits of the header.
inline constexpr std::uint32_t kHasWorkingDir = 0x10;
inline constexpr std::uint32_t kHasArguments = 0x20;
inline constexpr std::uint32_t kHasIconLocation = 0x40;
inline constexpr std::uint32_t kRunAsUser = 0x2000;

std::string ReadWholeFile(const std::wstring& path);
// The header's 32-bit LinkFlags (offset 0x14); 0 for a file too short.
std::uint32_t ShortcutLinkFlags(const std::wstring& path);
// The header's 32-bit ShowCommand (offset 0x3C); -1 for a file too short.
// Read from the file because Wine's shell link drops it on load.
int ShortcutShowCommand(const std::wstring& path);
// The header's 16-bit HotKey (offset 0x40); 0 for a file too short.
std::uint16_t ShortcutHotkey(const std::wstring& path);
// The arguments field (StringData COMMAND_LINE_ARGUMENTS, [MS-SHLLINK] 2.4)
// read from the bytes, and the file's bytes from that field to its end;
// both empty when the file has no such field or is cut short.
struct ArgumentsOn {
  std::wstring arguments;
  std::string bytes;
};
ArgumentsOn ShortcutArgumentsOn(const std::wstring& path);
// The texts as IShellLinkW reads them, the target as stored
// (SLGP_RAWPATH); every text "<unreadable>" when the file does not load.
struct ShortcutTexts {
  std::wstring target, arguments, workDir, iconFile, description;
  int iconIdx = -1;
};
ShortcutTexts ReadShortcutTexts(const std::wstring& path);
std::wstring ShortcutDescription(const std::wstring& path);

// A shortcut made by another tool (or by the user in Explorer): written in
// wide text through IShellLinkW, not through the maker.
struct HandMadeShortcut {
  std::wstring target{}, arguments{}, workDir{}, iconFile{};
  int iconIdx = 0;
  WORD hotkey = 0;
  int showCmd = SW_SHOWNORMAL;
  std::wstring description{};
  int shellItem = -1;      // a CSIDL_* item as the target in place of `target`
  bool runAsUser = false;  // "run as administrator", set in the header's bytes
  // An installer's shortcut (SLDF_HAS_DARWINID), likewise.
  bool advertised = false;
};
// Writes `lnk` and gives its path; fails the test when it cannot.
std::wstring WriteHandMadeShortcut(const std::wstring& lnk, const HandMadeShortcut& shortcut);
inline std::wstring WriteShortcut(const std::wstring& lnk, const std::wstring& target,
                                  const std::wstring& arguments) {
  return WriteHandMadeShortcut(lnk, {target, arguments});
}

// Writes `lnk` byte by byte as a shortcut whose target `rawTarget` holds
// environment variables (%windir%\...), and gives its path. Windows keeps
// such a target in an EnvironmentVariableDataBlock ([MS-SHLLINK] 2.5.4),
// which GetPath(SLGP_RAWPATH) hands back unexpanded. Wine 8 neither writes
// nor reads that block; it takes the LinkInfo's local base path as it
// stands, so that path holds the same text and both systems hand back
// `rawTarget`. ASCII targets only.
std::wstring WriteEnvironmentShortcut(const std::wstring& lnk, const std::wstring& rawTarget);

// The names of the files (not folders) in `folder`, sorted.
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// The current user's desktop folder, without a trailing backslash.
std::wstring DesktopFolder();

// Notes the desktop's files when made; removes every file that appeared
// since when it goes, so tests leave no shortcuts behind.
class DesktopSnapshot {
 public:
  DesktopSnapshot();
  ~DesktopSnapshot();
  DesktopSnapshot(const DesktopSnapshot&) = delete;
  DesktopSnapshot& operator=(const DesktopSnapshot&) = delete;

  const std::wstring& folder() const { return folder_; }
  std::wstring File(const std::wstring& name) const { return folder_ + L"\\" + name; }
  // The files that appeared since the snapshot, sorted.
  std::vector<std::wstring> NewFiles() const;

 private:
  std::wstring folder_;
  std::vector<std::wstring> before_;
};

}  // namespace kelmo::testing_support
