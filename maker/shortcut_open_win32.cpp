#include "maker/shortcut_open_win32.h"

#include "maker/make_platform_win32.h"
#include "maker/shell_link.h"

namespace kelmo {

std::optional<ShortcutContents> Win32OpenPlatform::ReadShortcut(const std::wstring& path) {
  ShortcutContents contents;
  if (!cShellLink().GetShellLinkTarget(path, contents.target, contents.arguments)) {
    return std::nullopt;
  }
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

std::vector<std::wstring> DroppedFiles(HDROP drop) {
  std::vector<std::wstring> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring file(static_cast<std::size_t>(length) + 1, L'\0');
    file.resize(DragQueryFileW(drop, i, file.data(), length + 1));
    files.push_back(std::move(file));
  }
  return files;
}

void TakeDroppedFiles(OpenWindowAccess& window, const std::vector<std::wstring>& files) {
  if (files.empty()) return;
  const std::wstring& first = files.front();
  if (files.size() > 1) {
    ShowMessageText(window.Handle(), OpenMessageText(OpenMessage::SeveralFiles, first));
  }
  if (HasShortcutExtension(first)) {
    Win32OpenPlatform platform(window);
    RunOpen(platform, first);
    return;
  }
  SetShortProgramPath(window, first);
}

}  // namespace kelmo
