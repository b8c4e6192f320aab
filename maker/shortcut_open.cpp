#include "maker/shortcut_open.h"

#include <utility>

#include "maker/path_parts.h"

namespace kelmo {
namespace {

constexpr unsigned kFailureStyle = 0x30;   // MB_OK | MB_ICONEXCLAMATION
constexpr unsigned kQuestionStyle = 0x24;  // MB_YESNO | MB_ICONQUESTION
constexpr unsigned kNoteStyle = 0x40;      // MB_OK | MB_ICONINFORMATION
constexpr wchar_t kOpenTitle[] = L"開く - KelmoCM";
constexpr wchar_t kDropTitle[] = L"ドロップ - KelmoCM";
constexpr wchar_t kEntryTitle[] = L"項目の変更 - KelmoCM";
// Why a text with " /" cannot go into a kelmoPro entry.
constexpr wchar_t kCutBySlash[] =
    L"項目の中に「 /」(空白とスラッシュ) ができ、kelmoPro がそこで項目を区切ってしまうためです。";

// The little-endian number of `size` bytes at `offset`.
std::uint32_t LittleEndian(std::string_view bytes, std::size_t offset, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

}  // namespace

std::optional<LauncherChoice> LauncherOfTarget(std::wstring_view targetPath) {
  const std::wstring_view name = FileNameOf(targetPath);
  for (const LauncherChoice launcher : {LauncherChoice::Standard, LauncherChoice::KelmoPro}) {
    if (EqualsIgnoringAsciiCase(name, LauncherFileName(launcher))) return launcher;
  }
  return std::nullopt;
}

std::wstring ShortcutNameOf(std::wstring_view path) {
  std::wstring_view name = FileNameOf(path);
  if (HasShortcutExtension(name)) name.remove_suffix(4);
  return std::wstring(name);
}

bool HasShortcutExtension(std::wstring_view path) {
  return EqualsIgnoringAsciiCase(ExtensionOf(path), L".lnk");
}

std::optional<ShortcutHeader> ParseShortcutHeader(std::string_view bytes) {
  // {00021401-0000-0000-C000-000000000046} as stored.
  static constexpr unsigned char kLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                   0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  if (bytes.size() < kShortcutHeaderSize) return std::nullopt;
  if (LittleEndian(bytes, 0, 4) != kShortcutHeaderSize) return std::nullopt;
  for (std::size_t i = 0; i < sizeof(kLinkClass); ++i) {
    if (static_cast<unsigned char>(bytes[4 + i]) != kLinkClass[i]) return std::nullopt;
  }
  ShortcutHeader header;
  header.linkFlags = LittleEndian(bytes, kLinkFlagsOffset, 4);
  header.showCmd = static_cast<int>(LittleEndian(bytes, 0x3C, 4));
  header.hotkey = static_cast<std::uint16_t>(LittleEndian(bytes, 0x40, 2));
  return header;
}

MessageText OpenMessageText(OpenMessage message, std::wstring_view path, std::wstring_view target) {
  // Text before the quoted file name, text after it, title and style; the
  // whole of `path` is quoted in place of its file name where wholePath says.
  struct Row {
    const wchar_t* before;
    const wchar_t* after;
    const wchar_t* title;
    unsigned style;
    bool wholePath = false;
  };
  static constexpr Row kRows[] = {
      {L"",
       L"をショートカットとして読み込めませんでした。\r\n"
       L"Kelmo Command line Maker で作成したショートカットを指定してください。",
       kOpenTitle, kFailureStyle},
      {L"",
       L"は kelmo.exe または kelmoPro.exe のショートカットではないため、開けません。\r\n"
       L"リンク先: ",
       kOpenTitle, kFailureStyle},
      {L"現在のリストを", L"の内容に置き換えます。よろしいですか?", kOpenTitle, kQuestionStyle},
      {L"複数のファイルがドロップされました。最初のファイルだけを使います。\r\n", L"", kDropTitle,
       kNoteStyle},
      {L"", L"のリンク先はファイルではないため、開けません。", kOpenTitle, kFailureStyle},
      {L"", L"はフォルダーです。プログラムのファイルを指定してください。", kDropTitle,
       kFailureStyle},
      {L"",
       L"のパスに、このコンピューターの文字コードで表せない文字が含まれているため、"
       L"実行コマンドに入れられません。",
       kDropTitle, kFailureStyle},
      {L"", L"が見つかりません。", kDropTitle, kFailureStyle},
      {L"", L"は変更できません。\r\n変更すると", kEntryTitle, kFailureStyle, true},
      {L"", L"は取り込めません。\r\n取り込むと", kDropTitle, kFailureStyle},
  };
  const Row& row = kRows[static_cast<int>(message)];
  std::wstring text = row.before;
  text += L'「';
  text += row.wholePath ? path : FileNameOf(path);
  text += L'」';
  text += row.after;
  if (message == OpenMessage::OtherProgram) text += target;
  if (message >= OpenMessage::EntryNotRewritten) text += kCutBySlash;
  return {text, row.title, row.style};
}

bool RunOpen(OpenPlatform& platform, const std::wstring& path, OtherTarget otherTarget) {
  const std::optional<ShortcutContents> contents = platform.ReadShortcut(path);
  if (!contents) {
    platform.ShowMessage(OpenMessageText(OpenMessage::NotAShortcut, path));
    return false;
  }
  if (contents->advertised && otherTarget == OtherTarget::ProgramText) {
    platform.TakeFile(path);
    return false;
  }
  if (contents->target.empty()) {
    platform.ShowMessage(OpenMessageText(OpenMessage::NoFileTarget, path));
    return false;
  }
  const std::optional<LauncherChoice> launcher = LauncherOfTarget(contents->target);
  if (!launcher) {
    if (otherTarget == OtherTarget::ProgramText) {
      platform.TakeProgram(contents->target, contents->arguments);
    } else {
      platform.ShowMessage(OpenMessageText(OpenMessage::OtherProgram, path, contents->target));
    }
    return false;
  }
  OpenedGroup group;
  group.launcher = *launcher;
  group.entries = *launcher == LauncherChoice::KelmoPro ? KelmoProEntries(contents->arguments)
                                                        : StandardEntries(contents->arguments);
  group.name = ShortcutNameOf(path);
  group.contents = *contents;
  group.file = path;
  if (!platform.ListIsEmpty() &&
      !platform.AskYesNo(OpenMessageText(OpenMessage::ReplaceList, path))) {
    return false;
  }
  platform.ShowGroup(group);
  return true;
}

}  // namespace kelmo
