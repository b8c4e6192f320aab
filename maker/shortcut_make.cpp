#include "maker/shortcut_make.h"

#include <utility>

#include "common/text_util.h"

namespace kelmo {
namespace {

constexpr unsigned kWarningStyle = 0x34;      // MB_YESNO | MB_ICONEXCLAMATION
constexpr unsigned kInformationStyle = 0x40;  // MB_OK | MB_ICONINFORMATION
constexpr wchar_t kMakeFailureTitle[] = L"make失敗 - KelmoCM";
constexpr wchar_t kMakeCancelled[] = L"ショートカットの作成を中止しました。";

bool IsRemovedFromName(wchar_t c) {
  if (c < 0x20) return true;
  switch (c) {
    case L'\\':
    case L'/':
    case L':':
    case L',':
    case L';':
    case L'*':
    case L'?':
    case L'"':
    case L'<':
    case L'>':
    case L'|':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::wstring BuildArgumentString(const std::vector<std::wstring>& entries) {
  std::wstring arguments;
  for (const std::wstring& entry : entries) {
    arguments += L' ';
    arguments += entry;
  }
  return arguments;
}

std::wstring CleanShortcutName(std::wstring_view name) {
  std::wstring kept;
  kept.reserve(name.size());
  for (const wchar_t c : name) {
    if (!IsRemovedFromName(c)) kept += c;
  }
  return TrimSpaces(kept);
}

bool ExceedsLengthLimit(std::size_t argumentLength, std::size_t targetLength) {
  return argumentLength > kMaxArgumentsAndTarget ||
         targetLength > kMaxArgumentsAndTarget - argumentLength;
}

std::wstring WithTrailingBackslash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

std::wstring LauncherFileName(LauncherChoice launcher) {
  return launcher == LauncherChoice::Standard ? L"kelmo.exe" : L"kelmoPro.exe";
}

std::wstring BuildTargetPath(std::wstring folder, LauncherChoice launcher) {
  return WithTrailingBackslash(std::move(folder)) + LauncherFileName(launcher);
}

MessageText MakeMessageText(MakeMessage message) {
  switch (message) {
    case MakeMessage::DesktopLookupFailed:
      return {L"デスクトップフォルダのパス取得に失敗しました。", kMakeFailureTitle, kWarningStyle};
    case MakeMessage::EmptyName:
      return {kMakeCancelled, kMakeFailureTitle, kWarningStyle};
    case MakeMessage::TooLong:
      return {std::wstring(L"オプションが長すぎます。\r\n") + kMakeCancelled, kMakeFailureTitle,
              kWarningStyle};
    case MakeMessage::CreateFailed:
      return {L"ショートカットの作成に失敗しました。", kMakeFailureTitle, kWarningStyle};
  }
  return {};
}

MessageText MissingFunctionMessage() {
  return {
      L"Kelmo Commandline Maker を動作させるには、\r\n"
      L"Internet Explorer 4 以上がインストールされた環境が必要です。",
      kMakeFailureTitle, kInformationStyle};
}

PromptText NamePromptText() { return {L"作成するショートカットの名前は?", L"名前は? - KelmoCM"}; }

void RunMake(MakePlatform& platform) {
  const std::vector<std::wstring> entries = platform.Entries();
  if (entries.empty()) return;
  const std::wstring arguments = BuildArgumentString(entries);

  // A lookup that reports success with an empty path would put the shortcut
  // in the root of the current drive; treat it as the failure it is.
  const std::optional<std::wstring> desktop = platform.DesktopFolder();
  if (!desktop || desktop->empty()) {
    platform.ShowMakeFailure(MakeMessage::DesktopLookupFailed);
    return;
  }
  const std::wstring desktopFolder = WithTrailingBackslash(*desktop);

  std::wstring makerFolder = platform.MakerFolder();
  const std::wstring target = BuildTargetPath(std::move(makerFolder), platform.Launcher());

  const std::wstring name = CleanShortcutName(platform.AskShortcutName());
  if (name.empty()) {
    platform.ShowMakeFailure(MakeMessage::EmptyName);
    return;
  }

  if (ExceedsLengthLimit(arguments.size(), target.size())) {
    platform.ShowMakeFailure(MakeMessage::TooLong);
    return;
  }

  ShellLinkRequest request;
  request.lnkFile = desktopFolder + name + L".lnk";
  request.exeFile = target;
  request.exeArgs = arguments;
  if (!platform.CreateShellLink(request)) platform.ShowMakeFailure(MakeMessage::CreateFailed);
}

}  // namespace kelmo
