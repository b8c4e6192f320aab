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

}  // namespace
}  // namespace kelmo
