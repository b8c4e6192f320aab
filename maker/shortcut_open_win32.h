// Opening a shortcut and taking dropped files in the maker window: the open
// sequence's operations on Win32, and the window's drop handler. Win32 only.
#pragma once

// <windows.h> first: the shell headers build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <vector>

#include "maker/browse_and_make.h"
#include "maker/shortcut_open.h"

namespace kelmo {

// What opening needs from the maker window beyond browse and make.
class OpenWindowAccess : public MakerWindowAccess {
 public:
  // Chooses `group.launcher` (enabling or disabling the option groups as a
  // click on it would, without touching which timing and size are chosen),
  // replaces the list with the entries and remembers the name for make.
  virtual void ShowGroup(const OpenedGroup& group) = 0;
};

class Win32OpenPlatform : public OpenPlatform {
 public:
  explicit Win32OpenPlatform(OpenWindowAccess& window) : window_(window) {}

  std::optional<ShortcutContents> ReadShortcut(const std::wstring& path) override;
  bool ListIsEmpty() override;
  bool AskYesNo(const MessageText& question) override;
  void ShowMessage(const MessageText& message) override;
  void ShowGroup(const OpenedGroup& group) override;

 private:
  OpenWindowAccess& window_;
};

// The files of a drop, in the order the drop lists them. Does not release
// the drop.
std::vector<std::wstring> DroppedFiles(HDROP drop);

// Files dropped on the window or its text box: the first one alone is used
// (after a short note when there were several). A shortcut (.lnk) is opened
// as a group; any other file goes into the text box as Browse puts it there.
void TakeDroppedFiles(OpenWindowAccess& window, const std::vector<std::wstring>& files);

}  // namespace kelmo
