#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "launcher/launch_command_line.h"
#include "maker/shortcut_make.h"
#include "maker/shortcut_open.h"

namespace kelmo {
namespace {

using Entries = std::vector<std::wstring>;

bool SamePlan(const std::optional<LaunchPlan>& a, const std::optional<LaunchPlan>& b) {
  if (!a || !b) return !a && !b;
  return a->before == b->before && a->terminate == b->terminate && a->close == b->close &&
         a->waited == b->waited && a->after == b->after;
}

// The argument string that the entries must join back to.
std::wstring Normalized(const std::wstring& arguments) {
  const std::size_t first = arguments.find_first_not_of(L' ');
  return first == std::wstring::npos ? L"" : L" " + arguments.substr(first);
}

TEST(KelmoProEntriesTest, CutsWhereTheLauncherCutsAndKeepsEveryPieceAsItsText) {
  const struct {
    const wchar_t* arguments;
    Entries entries;
  } rows[] = {
      {L"", {}},
      {L"   ", {}},
      {L" /b:notepad.exe /wx:calc.exe", {L"/b:notepad.exe", L"/wx:calc.exe"}},
      // Hand-made: upper case, t and d, no slash first, extra spaces, no colon.
      {L"bn:a.exe /WX:b.exe", {L"bn:a.exe", L"/WX:b.exe"}},
      {L"   /t:a.exe  /d:b.exe   ", {L"/t:a.exe ", L"/d:b.exe   "}},
      {L" /b:cmd.exe /k dir /x", {L"/b:cmd.exe", L"/k dir", L"/x"}},
      {L"/w C:\\x.exe", {L"/w C:\\x.exe"}},
      // Run together: not cut, as the launcher does not cut it either.
      {L" /b:a.exe/w:b.exe", {L"/b:a.exe/w:b.exe"}},
      {L" /b: /w:", {L"/b:", L"/w:"}},
      {L"/ / /", {L"/", L"/", L"/"}},
      {L" /b:x:y \"q\" /a:\x30e1\x30e2 \x3000/c:z",
       {L"/b:x:y \"q\"", L"/a:\x30e1\x30e2 \x3000/c:z"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &row - rows);
    const Entries entries = KelmoProEntries(row.arguments);
    EXPECT_EQ(entries, row.entries);
    EXPECT_EQ(BuildArgumentString(entries), Normalized(row.arguments));
    EXPECT_TRUE(SamePlan(ParseLaunchCommandLine(BuildArgumentString(entries)),
                         ParseLaunchCommandLine(row.arguments)));
  }
}

TEST(StandardEntriesTest, CutsBetweenQuotedEntriesOnly) {
  const struct {
    const wchar_t* arguments;
    Entries entries;
  } rows[] = {
      {L"", {}},
      {L" \"a.exe\" \"C:\\b c.exe\"", {L"\"a.exe\"", L"\"C:\\b c.exe\""}},
      {L"\"a\"   \"b\"", {L"\"a\"  ", L"\"b\""}},
      {L" \"say \"hi\":now\" \"x \"", {L"\"say \"hi\":now\"", L"\"x \""}},
      {L" a.exe b.exe", {L"a.exe b.exe"}},
      {L" \"a\" /b:x \"c\"", {L"\"a\" /b:x \"c\""}},
      // An entry holding quote, space, quote cannot be told from two entries;
      // the text still joins back unchanged.
      {L" \"a\" \"b\"", {L"\"a\"", L"\"b\""}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &row - rows);
    const Entries entries = StandardEntries(row.arguments);
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

// Records what the open sequence asked of the window.
class FakeOpenPlatform : public OpenPlatform {
 public:
  std::optional<ShortcutContents> contents;
  bool listEmpty = true;
  bool answerYes = false;
  std::vector<std::wstring> calls;
  OpenedGroup shown;

  std::optional<ShortcutContents> ReadShortcut(const std::wstring& path) override {
    calls.push_back(L"read " + path);
    return contents;
  }
  bool ListIsEmpty() override { return listEmpty; }
  bool AskYesNo(const MessageText& question) override {
    calls.push_back(L"ask " + question.text);
    return answerYes;
  }
  void ShowMessage(const MessageText& message) override {
    calls.push_back(L"show " + message.text);
  }
  void ShowGroup(const OpenedGroup& group) override {
    calls.push_back(L"group");
    shown = group;
  }
};

TEST(RunOpenTest, RefusesOtherFilesAndAsksBeforeReplacingEntries) {
  const std::wstring path = L"C:\\d\\g.lnk";
  const std::wstring notShortcut = OpenMessageText(OpenMessage::NotAShortcut, path).text;
  const std::wstring other = OpenMessageText(OpenMessage::OtherProgram, path, L"C:\\n.exe").text;
  const std::wstring ask = OpenMessageText(OpenMessage::ReplaceList, path).text;
  const ShortcutContents pro{L"C:\\k\\kelmoPro.exe", L" /b:a /w:b"};
  const struct {
    std::optional<ShortcutContents> contents;
    bool listEmpty;
    bool answerYes;
    std::vector<std::wstring> calls;
  } rows[] = {
      {std::nullopt, true, true, {L"read " + path, L"show " + notShortcut}},
      {ShortcutContents{L"C:\\n.exe", L" /b:a"}, true, true, {L"read " + path, L"show " + other}},
      {pro, true, false, {L"read " + path, L"group"}},
      {pro, false, false, {L"read " + path, L"ask " + ask}},
      {pro, false, true, {L"read " + path, L"ask " + ask, L"group"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &row - rows);
    FakeOpenPlatform platform;
    platform.contents = row.contents;
    platform.listEmpty = row.listEmpty;
    platform.answerYes = row.answerYes;
    const bool shown = RunOpen(platform, path);
    EXPECT_EQ(platform.calls, row.calls);
    EXPECT_EQ(shown, platform.calls.back() == L"group");
  }

  FakeOpenPlatform platform;
  platform.contents = ShortcutContents{L"C:\\k\\kelmo.exe", L" \"a b\" \"c\""};
  ASSERT_TRUE(RunOpen(platform, path));
  EXPECT_EQ(platform.shown.launcher, LauncherChoice::Standard);
  EXPECT_EQ(platform.shown.entries, (Entries{L"\"a b\"", L"\"c\""}));
  EXPECT_EQ(platform.shown.name, L"g");
}

}  // namespace
}  // namespace kelmo
