#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maker/path_parts.h"
#include "maker/shortcut_make.h"
#include "maker/shortcut_open.h"
#include "maker/wow64_paths.h"

namespace kelmo {
namespace {

using Entries = std::vector<std::wstring>;

// The argument string that the entries must join back to.
std::wstring Normalized(const std::wstring& arguments) {
  const std::size_t first = arguments.find_first_not_of(L' ');
  return first == std::wstring::npos ? L"" : L" " + arguments.substr(first);
}

// Each launcher's cut, and the entries joining back to the argument string.
TEST(ShortcutEntriesTest, KelmoProCutsWhereTheLauncherCutsStandardBetweenQuotedEntries) {
  const auto kPro = KelmoProEntries;
  const auto kStd = StandardEntries;
  const struct {
    Entries (*cut)(std::wstring_view);
    const wchar_t* arguments;
    Entries entries;
  } rows[] = {
      {kPro, L"", {}},
      {kPro, L"   ", {}},
      {kPro, L" /b:notepad.exe /wx:calc.exe", {L"/b:notepad.exe", L"/wx:calc.exe"}},
      // Hand-made: upper case, t and d, no slash first, extra spaces, no colon.
      {kPro, L"bn:a.exe /WX:b.exe", {L"bn:a.exe", L"/WX:b.exe"}},
      {kPro, L"   /t:a.exe  /d:b.exe   ", {L"/t:a.exe ", L"/d:b.exe   "}},
      {kPro, L" /b:cmd.exe /k dir /x", {L"/b:cmd.exe", L"/k dir", L"/x"}},
      {kPro, L"/w C:\\x.exe", {L"/w C:\\x.exe"}},
      // Run together: not cut, as the launcher does not cut it either.
      {kPro, L" /b:a.exe/w:b.exe", {L"/b:a.exe/w:b.exe"}},
      {kPro, L" /b: /w:", {L"/b:", L"/w:"}},
      {kPro, L"/ / /", {L"/", L"/", L"/"}},
      {kPro,
       L" /b:x:y \"q\" /a:\x30e1\x30e2 \x3000/c:z",
       {L"/b:x:y \"q\"", L"/a:\x30e1\x30e2 \x3000/c:z"}},
      // Grace digits and g stay in the entries they belong to.
      {kPro,
       L" /c5:a.exe /wgx:b.exe /tg10x:c.exe -a",
       {L"/c5:a.exe", L"/wgx:b.exe", L"/tg10x:c.exe -a"}},
      {kStd, L"", {}},
      {kStd, L" \"a.exe\" \"C:\\b c.exe\"", {L"\"a.exe\"", L"\"C:\\b c.exe\""}},
      {kStd, L"\"a\"   \"b\"", {L"\"a\"  ", L"\"b\""}},
      {kStd, L" \"say \"hi\":now\" \"x \"", {L"\"say \"hi\":now\"", L"\"x \""}},
      {kStd, L" a.exe b.exe", {L"a.exe b.exe"}},
      {kStd, L" \"a\" /b:x \"c\"", {L"\"a\" /b:x \"c\""}},
      // An entry holding quote, space, quote cannot be told from two entries;
      // the text still joins back unchanged.
      {kStd, L" \"a\" \"b\"", {L"\"a\"", L"\"b\""}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &row - rows);
    const Entries entries = row.cut(row.arguments);
    EXPECT_EQ(entries, row.entries);
    EXPECT_EQ(BuildArgumentString(entries), Normalized(row.arguments));
  }
}

TEST(ShortcutOpenNamesTest, LauncherByFileNameAndShortcutNameWithoutExtension) {
  constexpr auto kStd = LauncherChoice::Standard;
  constexpr auto kPro = LauncherChoice::KelmoPro;
  const struct {
    const wchar_t* target;
    std::optional<LauncherChoice> launcher;
  } targets[] = {{L"C:\\k\\kelmoPro.exe", kPro}, {L"C:\\k\\KELMOPRO.EXE", kPro},
                 {L"kelmo.exe", kStd},           {L"C:/k/Kelmo.exe", kStd},
                 {L"C:\\k\\xkelmo.exe", {}},     {L"C:\\kelmo.exe\\notepad.exe", {}},
                 {L"C:\\k\\kelmo.exe.bak", {}},  {L"", {}}};
  for (const auto& row : targets) EXPECT_EQ(LauncherOfTarget(row.target), row.launcher);

  EXPECT_EQ(ShortcutNameOf(L"C:\\Users\\u\\Desktop\\my group.lnk"), L"my group");
  EXPECT_EQ(ShortcutNameOf(L"C:\\d\\group.LNK"), L"group");
  EXPECT_EQ(ShortcutNameOf(L"C:\\d.lnk\\group.txt"), L"group.txt");
  EXPECT_TRUE(HasShortcutExtension(L"a.Lnk"));
  EXPECT_FALSE(HasShortcutExtension(L"lnk"));
  EXPECT_FALSE(HasShortcutExtension(L"a.lnk.exe"));
}

TEST(PathPartsTest, FileNameFolderAndExtension) {
  const struct {
    const wchar_t *path, *name, *folder, *extension;
  } rows[] = {
      {L"C:\\Tools\\kelmoPro.exe", L"kelmoPro.exe", L"C:\\Tools", L".exe"},
      {L"C:\\kelmoCM.exe", L"kelmoCM.exe", L"C:\\", L".exe"},
      {L"\\a.lnk", L"a.lnk", L"\\", L".lnk"},
      {L"C:a.b.LNK", L"a.b.LNK", L"C:", L".LNK"},
      {L"D:/x/y", L"y", L"D:/x", L""},
      {L"\\\\srv\\share\\g.lnk", L"g.lnk", L"\\\\srv\\share", L".lnk"},
      {L"d.lnk\\group", L"group", L"d.lnk", L""},
      {L"name.", L"name.", L"", L"."},
      {L".lnk", L".lnk", L"", L".lnk"},
      {L"C:\\Desktop\\", L"", L"C:\\Desktop", L""},
      {L"", L"", L"", L""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &r - rows);
    EXPECT_EQ(FileNameOf(r.path), r.name);
    EXPECT_EQ(FolderOf(r.path), r.folder);
    EXPECT_EQ(ExtensionOf(r.path), r.extension);
  }
  EXPECT_EQ(WithFileName(L"D:\\Tools\\kelmoPro.exe", L"kelmo.exe"), L"D:\\Tools\\kelmo.exe");
  EXPECT_EQ(WithFileName(L"D:kelmo.exe", L"kelmoPro.exe"), L"D:kelmoPro.exe");
  EXPECT_EQ(WithFileName(L"kelmo.exe", L"kelmoPro.exe"), L"kelmoPro.exe");
}

// A 32-bit maker on 64-bit Windows names the folders a 64-bit shell means.
TEST(Wow64PathsTest, ProgramFoldersAndSystem32AsA64BitProgramSeesThem) {
  const ProcessEnvironment wow64{true, L"C:\\Windows", L"C:\\Program Files", L"C:\\P\\Common"};
  const ProcessEnvironment native{false, wow64.windir, wow64.programW6432, L"C:\\P\\Common"};
  const ProcessEnvironment bare{true, L"C:\\Windows\\", L"", L""};
  const struct {
    std::wstring (*rule)(std::wstring_view, const ProcessEnvironment&);
    const ProcessEnvironment& process;
    const wchar_t *path, *written;
  } rows[] = {
      // clang-format off
      {With64BitProgramFolders, wow64, L"%ProgramFiles%\\A\\a.exe", L"%ProgramW6432%\\A\\a.exe"},
      {With64BitProgramFolders, wow64, L"%programfiles%\\%COMMONPROGRAMFILES%", L"%ProgramW6432%\\%CommonProgramW6432%"},
      {With64BitProgramFolders, wow64, L"%ProgramFiles(x86)%\\%CommonProgramFiles(x86)%", L"%ProgramFiles(x86)%\\%CommonProgramFiles(x86)%"},
      {With64BitProgramFolders, native, L"%ProgramFiles%\\A\\a.exe", L"%ProgramFiles%\\A\\a.exe"},
      {With64BitProgramFolders, bare, L"%ProgramFiles%\\A\\a.exe", L"%ProgramFiles%\\A\\a.exe"},
      {WithSysnative, wow64, L"C:\\Windows\\System32\\notepad.exe", L"C:\\Windows\\Sysnative\\notepad.exe"},
      {WithSysnative, bare, L"c:\\WINDOWS\\system32\\WindowsPowerShell\\ps.exe", L"c:\\WINDOWS\\Sysnative\\WindowsPowerShell\\ps.exe"},
      {WithSysnative, wow64, L"C:\\Windows\\System32x\\a.exe", L"C:\\Windows\\System32x\\a.exe"},
      {WithSysnative, native, L"C:\\Windows\\System32\\notepad.exe", L"C:\\Windows\\System32\\notepad.exe"},
      // clang-format on
  };
  for (const auto& r : rows) EXPECT_EQ(r.rule(r.path, r.process), r.written) << r.path;
}

// A header as Windows writes it, with flags, show command and hot key set.
std::string Header(std::uint32_t flags, std::uint32_t showCmd, std::uint16_t hotkey) {
  std::string bytes(0x4C, '\0');
  const unsigned char id[] = {0x4C, 0, 0,    0, 0x01, 0x14, 0x02, 0, 0, 0,
                              0,    0, 0xC0, 0, 0,    0,    0,    0, 0, 0x46};
  for (std::size_t i = 0; i < sizeof(id); ++i) bytes[i] = static_cast<char>(id[i]);
  for (int i = 0; i < 4; ++i) bytes[0x14 + i] = static_cast<char>(flags >> (8 * i));
  for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<char>(showCmd >> (8 * i));
  bytes[0x40] = static_cast<char>(hotkey & 0xFF);
  bytes[0x41] = static_cast<char>(hotkey >> 8);
  return bytes + "rest of the file";
}

TEST(ShortcutHeaderTest, ReadsFlagsShowCommandAndHotKeyOfALinkFileOnly) {
  const std::optional<ShortcutHeader> header = ParseShortcutHeader(Header(0x200A3, 7, 0x0641));
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->linkFlags & (kRunAsUserFlag | kAdvertisedFlag), 0u);
  EXPECT_EQ(ParseShortcutHeader(Header(0x2000, 3, 0))->linkFlags & kRunAsUserFlag, kRunAsUserFlag);
  EXPECT_NE(ParseShortcutHeader(Header(0x1000, 1, 0))->linkFlags & kAdvertisedFlag, 0u);
  EXPECT_EQ(header->showCmd, 7);
  EXPECT_EQ(header->hotkey, 0x0641);
  std::string otherClass = Header(0, 1, 0);
  otherClass[19] = 0x47;
  std::string otherSize = Header(0, 1, 0);
  otherSize[0] = 0x4D;
  for (const std::string& bytes :
       {std::string(), Header(0, 1, 0).substr(0, 0x4B), otherClass, otherSize}) {
    EXPECT_FALSE(ParseShortcutHeader(bytes).has_value()) << bytes.size();
  }
}

// Answers from configured values and logs every call in order.
struct FakeOpenPlatform : OpenPlatform {
  std::optional<ShortcutContents> contents;
  bool listEmpty = true;
  bool yes = true;
  std::vector<std::wstring> log;
  std::optional<OpenedGroup> shown;

  std::optional<ShortcutContents> ReadShortcut(const std::wstring&) override { return contents; }
  bool ListIsEmpty() override { return listEmpty; }
  bool AskYesNo(const MessageText& m) override { return log.push_back(L"ask " + m.text), yes; }
  void ShowMessage(const MessageText& m) override { log.push_back(L"say " + m.text); }
  void ShowGroup(const OpenedGroup& group) override { log.push_back(L"show"), shown = group; }
  void TakeProgram(const std::wstring& program, const std::wstring& arguments) override {
    log.push_back(L"take " + program + L"|" + arguments);
  }
  void TakeFile(const std::wstring& path) override { log.push_back(L"file " + path); }
};

TEST(RunOpenTest, GroupsKeepTheirShortcutOtherTargetsAsAskedShellItemsAreNamed) {
  ShortcutContents group;
  group.target = L"D:\\Tools\\kelmoPro.exe";
  group.arguments = L" /b:a.exe /w:b.exe";
  group.settings.workDir = L"D:\\Work";
  group.settings.showCmd = 7;
  ShortcutContents game = group;
  game.target = L"C:\\Games\\game.exe";
  game.arguments = L"-window";
  ShortcutContents shellItem = group;
  shellItem.target.clear();
  ShortcutContents installed = shellItem;  // an installer's: its target is no program
  installed.advertised = true;
  const std::wstring path = L"C:\\Desktop\\g.lnk";
  const struct {
    const char* name;
    std::optional<ShortcutContents> contents;
    OtherTarget otherTarget;
    bool listEmpty;
    std::vector<std::wstring> log;
  } rows[] = {
      // clang-format off
      {"unreadable", std::nullopt, OtherTarget::ProgramText, true,
       {L"say 「g.lnk」をショートカットとして読み込めませんでした。\r\n"
        L"Kelmo Command line Maker で作成したショートカットを指定してください。"}},
      {"shell item", shellItem, OtherTarget::ProgramText, true,
       {L"say 「g.lnk」のリンク先はファイルではないため、開けません。"}},
      {"program, dropped", game, OtherTarget::ProgramText, true,
       {L"take C:\\Games\\game.exe|-window"}},
      {"program, opened", game, OtherTarget::Refused, true,
       {L"say 「g.lnk」は kelmo.exe または kelmoPro.exe のショートカットではないため、開けません。"
        L"\r\nリンク先: C:\\Games\\game.exe"}},
      {"installer's, dropped", installed, OtherTarget::ProgramText, true,
       {L"file C:\\Desktop\\g.lnk"}},
      {"group", group, OtherTarget::Refused, true, {L"show"}},
      {"group over a list", group, OtherTarget::ProgramText, false,
       {L"ask 現在のリストを「g.lnk」の内容に置き換えます。よろしいですか?", L"show"}},
      // clang-format on
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FakeOpenPlatform p;
    p.contents = r.contents;
    p.listEmpty = r.listEmpty;
    const bool shown = RunOpen(p, path, r.otherTarget);
    EXPECT_EQ(shown, p.shown.has_value());
    EXPECT_EQ(p.log, r.log);
    if (!p.shown) continue;
    EXPECT_EQ(p.shown->name, L"g");
    EXPECT_EQ(p.shown->file, path);
    EXPECT_EQ(p.shown->entries, (Entries{L"/b:a.exe", L"/w:b.exe"}));
    EXPECT_EQ(p.shown->contents.settings.workDir, L"D:\\Work");
    EXPECT_EQ(p.shown->contents.settings.showCmd, 7);
    EXPECT_EQ(p.shown->contents.target, group.target);
  }
}

}  // namespace
}  // namespace kelmo
