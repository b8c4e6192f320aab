// Opening a shortcut in the maker window: the open sequence's operations on
// Win32, among them taking a program into the text box, which a drop does
// too, and the open of a shortcut named on the command line. Win32 only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "maker/shortcut_open.h"
#include "maker/win/maker_window_access.h"

namespace kelmo {

class Win32OpenPlatform : public OpenPlatform {
 public:
  explicit Win32OpenPlatform(MakerWindowAccess& window) : window_(window) {}

  std::optional<ShortcutContents> ReadShortcut(const std::wstring& path) override;
  bool ListIsEmpty() override;
  bool AskYesNo(const MessageText& question) override;
  void ShowMessage(const MessageText& message) override;
  void ShowGroup(const OpenedGroup& group) override;
  // As a dropped program (see TakeProgram below), once the environment
  // variables in `program` are expanded, under WOW64 as a 64-bit program
  // expands them (With64BitProgramFolders).
  void TakeProgram(const std::wstring& program, const std::wstring& arguments) override;
  void TakeFile(const std::wstring& path) override;

 private:
  MakerWindowAccess& window_;
};

// Puts the short path of `program`, then a space and `arguments` when there
// are any, into txtCmd, as ProgramTextFor writes them. The path goes through
// the wide short-path call; under WOW64 it is looked up as a 64-bit program
// sees the file system, and a program in System32 is named through
// Sysnative (WithSysnative). The text must pass the ANSI code page exactly
// (the path without look-alikes, as a target is checked by make), since
// make writes it through the ANSI shell link call. A folder, a program whose
// short path cannot be had, a text the code page cannot hold, or arguments
// that would cut a kelmoPro entry (ArgumentsCutByKelmoPro) while kelmoPro
// is chosen leave the text box as it was and show why.
void TakeProgram(MakerWindowAccess& window, const std::wstring& program,
                 const std::wstring& arguments);

// Opens the first of the program's arguments (`arguments`, without the
// program itself) as a shortcut: a shortcut dropped on kelmoCM.exe or
// opened with it. A short note comes first when there are more; without
// arguments nothing happens. Catches every failure and reports it as
// "Form_Load".
void OpenCommandLineShortcut(MakerWindowAccess& window, const std::vector<std::wstring>& arguments);

}  // namespace kelmo
