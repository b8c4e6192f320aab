#include "maker/shortcut_make.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/text_util.h"
#include "maker/opened_group.h"
#include "maker/path_parts.h"

namespace kelmo {
namespace {

constexpr unsigned kWarningStyle = 0x34;      // MB_YESNO | MB_ICONEXCLAMATION
constexpr unsigned kInformationStyle = 0x40;  // MB_OK | MB_ICONINFORMATION
constexpr wchar_t kMakeFailureTitle[] = L"make失敗 - KelmoCM";
constexpr wchar_t kMakeCancelled[] = L"ショートカットの作成を中止しました。";

constexpr unsigned kRefusalStyle = 0x30;  // MB_OK | MB_ICONEXCLAMATION
constexpr wchar_t kNotInCodePage[] =
    L"に、このコンピューターの文字コードで表せない文字が含まれています。\r\n";

bool IsRemovedFromName(wchar_t c) {
  if (c < L' ' || (c >= L'\x7F' && c <= L'\x9F')) return true;
  if (c == L'\xAD' || c == L'\u061C' || (c >= L'\u200B' && c <= L'\u200F') ||
      (c >= L'\u202A' && c <= L'\u202E') || (c >= L'\u2060' && c <= L'\u2064') ||
      (c >= L'\u2066' && c <= L'\u2069') || c == L'\uFEFF') {
    return true;
  }
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

// Compared as numbers: wchar_t is 16 bits on Windows and 32 elsewhere.
bool IsHighSurrogate(wchar_t c) {
  return static_cast<std::uint32_t>(c) >= 0xD800 && static_cast<std::uint32_t>(c) <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
  return static_cast<std::uint32_t>(c) >= 0xDC00 && static_cast<std::uint32_t>(c) <= 0xDFFF;
}

// "<what> に、…含まれています。", the text itself, and the make-cancelled line.
MessageText NotInCodePageMessage(std::wstring what, std::wstring_view text) {
  return {std::move(what) + kNotInCodePage + std::wstring(text) + L"\r\n" + kMakeCancelled,
          kMakeFailureTitle, kRefusalStyle};
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
  for (std::size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    if (IsHighSurrogate(c) && i + 1 < name.size() && IsLowSurrogate(name[i + 1])) {
      kept += c;
      kept += name[++i];
      continue;
    }
    // A half of a pair alone is no character: the file system refuses it.
    if (IsHighSurrogate(c) || IsLowSurrogate(c) || IsRemovedFromName(c)) continue;
    kept += c;
  }
  return TrimSpaces(kept);
}

bool ExceedsLengthLimit(std::size_t argumentLength, std::size_t targetLength) {
  return argumentLength > kMaxArgumentsAndTarget ||
         targetLength > kMaxArgumentsAndTarget - argumentLength;
}

bool NamesDevice(std::wstring_view path) {
  std::wstring_view name = FileNameOf(path);
  // The system drops trailing dots and spaces, then ignores any extension
  // and the spaces before it.
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.remove_suffix(1);
  name = name.substr(0, name.find(L'.'));
  while (!name.empty() && name.back() == L' ') name.remove_suffix(1);

  std::wstring upper(name);
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  if (upper == L"CON" || upper == L"PRN" || upper == L"AUX" || upper == L"NUL" ||
      upper == L"CONIN$" || upper == L"CONOUT$") {
    return true;
  }
  if (upper.size() != 4 || (upper.compare(0, 3, L"COM") != 0 && upper.compare(0, 3, L"LPT") != 0)) {
    return false;
  }
  const wchar_t digit = upper[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
         digit == L'\u00B3';
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

MessageText EntryNotInCodePageMessage(std::size_t position, std::wstring_view entry) {
  return NotInCodePageMessage(
      L"リストの " + DecimalText(static_cast<long long>(position)) + L" 番目の項目", entry);
}

MessageText TargetNotInCodePageMessage(std::wstring_view target) {
  return NotInCodePageMessage(L"ショートカットが起動するプログラムのパス", target);
}

MessageText MissingFunctionMessage() {
  return {
      L"Kelmo Commandline Maker を動作させるには、\r\n"
      L"Internet Explorer 4 以上がインストールされた環境が必要です。",
      kMakeFailureTitle, kInformationStyle};
}

MessageText AddBeforeMakeQuestion(std::wstring_view entry) {
  return {L"「" + std::wstring(entry) +
              L"」はまだリストに追加されていません。\r\n追加してからショートカットを作成しますか?",
          L"make - KelmoCM", 0x23};  // MB_YESNOCANCEL | MB_ICONQUESTION
}

PromptText NamePromptText() { return {L"作成するショートカットの名前は?", L"名前は? - KelmoCM"}; }

void RunMake(MakePlatform& platform, OpenedGroupState& group) {
  std::vector<std::wstring> entries = platform.Entries();
  if (entries.empty()) return;
  // A program typed or dropped but never added is easily taken for one
  // that is in the group.
  const std::wstring pending = platform.PendingEntry();
  if (!pending.empty() && std::find(entries.begin(), entries.end(), pending) == entries.end()) {
    const Answer answer = platform.AskYesNoCancel(AddBeforeMakeQuestion(pending));
    if (answer == Answer::Cancel) return;
    if (answer == Answer::Yes) {
      platform.AddEntry(pending);
      entries.push_back(pending);
    }
  }
  // The shell link object takes its texts in the ANSI code page: a changed
  // text would make the shortcut start something else than the list says.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!platform.HeldByCodePage(entries[i], LookAlikes::Accepted)) {
      platform.ShowMessage(EntryNotInCodePageMessage(i + 1, entries[i]));
      return;
    }
  }
  const std::wstring arguments = BuildArgumentString(entries);

  // A lookup that reports success with an empty path would put the shortcut
  // in the root of the current drive; treat it as the failure it is.
  const std::optional<std::wstring> desktop = platform.DesktopFolder();
  if (!desktop || desktop->empty()) {
    platform.ShowMakeFailure(MakeMessage::DesktopLookupFailed);
    return;
  }
  const std::wstring desktopFolder = WithTrailingBackslash(*desktop);

  const std::wstring makerFolder = platform.MakerFolder();
  const LauncherChoice launcher = platform.Launcher();
  ShellLinkRequest request = group.Request(arguments, launcher, makerFolder);
  // A group whose Kelmo folder was moved away runs the launcher beside this
  // maker; one whose launcher is only out of reach (a drive not there) and
  // has none here keeps its own.
  const std::wstring ownLauncher = BuildTargetPath(makerFolder, launcher);
  if (request.exeFile != ownLauncher && !platform.FileExists(request.exeFile) &&
      platform.FileExists(ownLauncher)) {
    request.exeFile = ownLauncher;
  }
  // Folder names come from the file system, where a yen sign is a character
  // of its own: its ANSI form, a backslash, would name another folder.
  if (!platform.HeldByCodePage(request.exeFile, LookAlikes::Refused)) {
    platform.ShowMessage(TargetNotInCodePageMessage(request.exeFile));
    return;
  }

  // The offered name stands for the group's own shortcut: taken as it is,
  // it saves over that file, wherever it lies and whatever its name holds.
  // A name the user typed or changed is cleaned and goes on the desktop.
  const std::wstring offered = group.OfferedName();
  const std::wstring answer = platform.AskShortcutName(offered);
  const bool ownShortcut = !offered.empty() && answer == offered && !group.ShortcutFile().empty();
  const std::wstring name = ownShortcut ? offered : CleanShortcutName(answer);
  if (name.empty()) {
    platform.ShowMakeFailure(MakeMessage::EmptyName);
    return;
  }

  if (ExceedsLengthLimit(arguments.size(), request.exeFile.size())) {
    platform.ShowMakeFailure(MakeMessage::TooLong);
    return;
  }

  request.lnkFile = ownShortcut ? group.ShortcutFile() : desktopFolder + name + L".lnk";
  // Windows honours a hot key for one shortcut only: a copy leaves it to the
  // shortcut it was made from.
  if (!group.IsShortcutFile(request.lnkFile)) request.settings.hotkey = 0;
  if (!platform.CreateShellLink(request)) {
    platform.ShowMakeFailure(MakeMessage::CreateFailed);
    return;
  }
  group.Made(name, launcher, request);
}

}  // namespace kelmo
