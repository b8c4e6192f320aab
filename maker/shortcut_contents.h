// What a shortcut to a launcher holds: its target, the launcher file in a
// folder, its argument string and the settings a group keeps. Make writes
// them, open reads them, and the opened group carries them from one to the
// other. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "maker/item_composer.h"

namespace kelmo {

inline constexpr wchar_t kShortcutDescription[] = L"Linked by kelmoCM";
inline constexpr int kShortcutShowCmd = 5;  // SW_SHOW

// `path` with a backslash appended unless it already ends with one.
inline std::wstring WithTrailingBackslash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

// "kelmo.exe" for the standard launcher, "kelmoPro.exe" for kelmoPro.
inline std::wstring LauncherFileName(LauncherChoice launcher) {
  return launcher == LauncherChoice::Standard ? L"kelmo.exe" : L"kelmoPro.exe";
}

// The launcher file in `folder` (the maker's own folder). Whether the file
// exists is not checked.
inline std::wstring BuildTargetPath(std::wstring folder, LauncherChoice launcher) {
  std::wstring path = WithTrailingBackslash(std::move(folder));
  path += LauncherFileName(launcher);
  return path;
}

// A shortcut's settings besides its target and arguments. The defaults are
// those the maker gives a new group's shortcut.
struct ShortcutSettings {
  std::wstring workDir;   // empty: not set
  std::wstring iconFile;  // empty: not set
  int iconIdx = 0;
  int showCmd = kShortcutShowCmd;
  std::uint16_t hotkey = 0;  // 0: none
  std::wstring description = kShortcutDescription;
  bool runAsAdministrator = false;

  friend bool operator==(const ShortcutSettings& a, const ShortcutSettings& b) {
    return a.workDir == b.workDir && a.iconFile == b.iconFile && a.iconIdx == b.iconIdx &&
           a.showCmd == b.showCmd && a.hotkey == b.hotkey && a.description == b.description &&
           a.runAsAdministrator == b.runAsAdministrator;
  }
};

// What a shortcut file holds besides its name.
struct ShortcutContents {
  std::wstring target;
  std::wstring arguments;
  ShortcutSettings settings;
  // An installer's ("advertised") shortcut: its target is the product's icon
  // file; the shell starts, and repairs, the product through the shortcut.
  bool advertised = false;
};

// What the make sequence asks the shell link object to write.
struct ShellLinkRequest {
  std::wstring lnkFile;
  std::wstring exeFile;
  std::wstring exeArgs;
  ShortcutSettings settings;

  friend bool operator==(const ShellLinkRequest& a, const ShellLinkRequest& b) {
    return a.lnkFile == b.lnkFile && a.exeFile == b.exeFile && a.exeArgs == b.exeArgs &&
           a.settings == b.settings;
  }
};

}  // namespace kelmo
