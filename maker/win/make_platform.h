// The make sequence's operations on Win32: the maker window's list and
// launcher choice, the desktop lookup, the name prompt, the message boxes
// and the shell link object. Win32 only.
#pragma once

#include <windows.h>

#include <string>

#include "maker/shortcut_make.h"
#include "maker/win/maker_window_access.h"

namespace kelmo {

// The address of `functionName` in the system's shell library, looked up at
// the call rather than imported, so that a system without it can still start
// the maker. Throws kelmo::Failure kMissingFunction when it is not there.
FARPROC BindShellFunction(const char* functionName);

class Win32MakePlatform : public MakePlatform {
 public:
  explicit Win32MakePlatform(MakerWindowAccess& window) : window_(window) {}

  std::vector<std::wstring> Entries() override;
  std::wstring PendingEntry() override { return window_.PendingEntry(); }
  Answer AskYesNoCancel(const MessageText& question) override;
  void AddEntry(const std::wstring& entry) override { window_.AddEntry(entry); }
  // GetFileAttributesW finds it, and it is no folder.
  bool FileExists(const std::wstring& path) override;
  // SHGetSpecialFolderPathA for the desktop, owned by the maker window, into
  // 261 NULs: nullopt when the call gives 0. Otherwise the folder as
  // SHGetSpecialFolderPathW names it, which differs from the ANSI text up to
  // its first NUL only when the code page cannot hold the name: the
  // shortcut's path reaches wide calls only, so that name is used as it is.
  std::optional<std::wstring> DesktopFolder() override;
  std::wstring MakerFolder() override;
  LauncherChoice Launcher() override;
  std::wstring AskShortcutName(const std::wstring& offered) override;
  void ShowMakeFailure(MakeMessage message) override;
  void ShowMessage(const MessageText& message) override;
  // ToAnsiExact succeeds.
  bool HeldByCodePage(const std::wstring& text, LookAlikes lookAlikes) override;
  bool CreateShellLink(const ShellLinkRequest& request) override;

 private:
  MakerWindowAccess& window_;
};

}  // namespace kelmo
