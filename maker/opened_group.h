// The group the item list holds when it came from a shortcut: its name and
// the settings of that shortcut that make keeps. Portable: the window keeps
// one OpenedGroupState; open, the list handlers and make update it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "maker/item_composer.h"
#include "maker/shortcut_contents.h"

namespace kelmo {

// A group read from a shortcut, ready to be shown in the window.
struct OpenedGroup {
  LauncherChoice launcher = LauncherChoice::Standard;
  std::vector<std::wstring> entries;
  std::wstring name;  // the shortcut's name, offered by the next make
  ShortcutContents contents;
  std::wstring file;  // the shortcut file itself, where it was read
};

// Whether the item list is a group that has a shortcut (opened, or made),
// and which. Rules:
// - after Opened or Made, the list is that group, also while it is edited
//   (add, delete, move, a switch to the standard launcher);
// - Forget, called when the list is emptied (by the clear button, by
//   deleting its last entry, or by choosing kelmoPro), makes the list a new
//   group again.
class OpenedGroupState {
 public:
  // The list now holds `group`, read from its shortcut.
  void Opened(const OpenedGroup& group);
  // The list is a new group.
  void Forget();
  // Make saved the list as `request` (into request.lnkFile), under `name`,
  // for `launcher`.
  void Made(const std::wstring& name, LauncherChoice launcher, const ShellLinkRequest& request);

  // The name the name prompt starts with: the group's, empty for a new group.
  std::wstring OfferedName() const;
  // The group's own shortcut file; empty for a new group.
  std::wstring ShortcutFile() const;
  // True when `path` names the group's own shortcut file (letter case aside).
  bool IsShortcutFile(const std::wstring& path) const;

  // What make writes for `arguments` with `launcher` chosen. A new group gets
  // the fixed settings and the launcher in `makerFolder`. The group's own
  // shortcut keeps all its settings and its target; a changed launcher
  // changes only the target's file name. lnkFile is left empty.
  ShellLinkRequest Request(const std::wstring& arguments, LauncherChoice launcher,
                           const std::wstring& makerFolder) const;

 private:
  struct Kept {
    std::wstring name;
    LauncherChoice launcher;
    ShortcutContents contents;
    std::wstring file;
  };
  std::optional<Kept> kept_;
};

}  // namespace kelmo
