// The two buttons of the cmdCmd group: 0 browses for a program, 1 makes the
// desktop shortcut. Win32 only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "maker/item_composer.h"

namespace kelmo {

// What browse and make need from the maker window.
class MakerWindowAccess {
 public:
  virtual ~MakerWindowAccess() = default;
  virtual HWND Handle() const = 0;               // owner of dialogs and boxes
  virtual std::wstring ProgramText() const = 0;  // txtCmd
  virtual void SetProgramText(const std::wstring& text) = 0;
  virtual std::vector<std::wstring> Entries() const = 0;  // lstCmd, first to last
  virtual LauncherChoice Launcher() const = 0;            // optKelmoSet
  // The name the name prompt starts with: the opened shortcut's, if any.
  virtual std::wstring OfferedShortcutName() const { return std::wstring(); }
};

// Puts the short (8.3) form of `path` into txtCmd, as Browse does for the
// chosen file; when the path has no short form the text box becomes empty.
void SetShortProgramPath(MakerWindowAccess& window, const std::wstring& path);

// Click on cmdCmd `index`; any other index does nothing. Catches every
// failure: 453 shows the missing-function message, any other the error
// report with the place name "cmdCmd_Click".
void cmdCmd_Click(MakerWindowAccess& window, int index);

}  // namespace kelmo
