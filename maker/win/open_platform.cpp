#include "maker/win/open_platform.h"

#include "maker/win/dropped_files.h"
#include "maker/win/make_platform.h"
#include "maker/win/maker_form.h"
#include "maker/win/shell_link.h"

namespace kelmo {

std::optional<ShortcutContents> Win32OpenPlatform::ReadShortcut(const std::wstring& path) {
  ShortcutContents contents;
  if (!cShellLink().GetShortcutContents(path, contents)) return std::nullopt;
  return contents;
}

bool Win32OpenPlatform::ListIsEmpty() { return window_.Entries().empty(); }

bool Win32OpenPlatform::AskYesNo(const MessageText& question) {
  return ShowMessageText(window_.Handle(), question) == IDYES;
}

void Win32OpenPlatform::ShowMessage(const MessageText& message) {
  ShowMessageText(window_.Handle(), message);
}

void Win32OpenPlatform::ShowGroup(const OpenedGroup& group) { window_.ShowGroup(group); }

void Win32OpenPlatform::TakeProgram(const std::wstring& program, const std::wstring& arguments) {
  // A shortcut hands back its target as written, variables and all: Windows'
  // own shortcuts name %windir%\system32\... The program is where the
  // variables point, checked and shortened as any other.
  kelmo::TakeProgram(window_, ExpandedPath(program), arguments);
}

void OpenCommandLineShortcut(MakerWindowAccess& window,
                             const std::vector<std::wstring>& arguments) {
  try {
    if (arguments.empty()) return;
    Win32OpenPlatform platform(window);
    if (arguments.size() > 1) {
      platform.ShowMessage(OpenMessageText(OpenMessage::SeveralFiles, arguments.front()));
    }
    RunOpen(platform, arguments.front());
  } catch (...) {
    ReportCaughtFailure(window.Handle(), L"Form_Load");
  }
}

}  // namespace kelmo
