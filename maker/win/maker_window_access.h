// The one way the flows reach the maker window: browse and make, opening a
// shortcut and taking a drop all work through MakerWindowAccess, which the
// window's MakerForm implements (and a stand-in in tests). Win32 only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "maker/item_composer.h"
#include "maker/opened_group.h"

namespace kelmo {

class MakerWindowAccess {
 public:
  virtual ~MakerWindowAccess() = default;
  virtual HWND Handle() const = 0;               // owner of dialogs and boxes
  virtual std::wstring ProgramText() const = 0;  // txtCmd
  virtual void SetProgramText(const std::wstring& text) = 0;
  virtual std::vector<std::wstring> Entries() const = 0;  // lstCmd, first to last
  virtual LauncherChoice Launcher() const = 0;            // optKelmoSet
  // The entry the add button would append now (ComposeEntry); empty for a
  // blank text box.
  virtual std::wstring PendingEntry() const = 0;
  // Appends `entry` to lstCmd and empties txtCmd, as the add button does.
  virtual void AddEntry(const std::wstring& entry) = 0;
  // Chooses `group.launcher` (enabling or disabling the option groups as a
  // click on it would, without touching which timing and size are chosen),
  // replaces the list with the entries and makes it the opened group.
  virtual void ShowGroup(const OpenedGroup& group) = 0;
  // Whether the list is a group that has a shortcut, and which.
  virtual OpenedGroupState& Group() = 0;
};

}  // namespace kelmo
