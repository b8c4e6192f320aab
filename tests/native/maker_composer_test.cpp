#include <gtest/gtest.h>

#include <utility>

#include "common/text_util.h"
#include "launcher/launch_command_line.h"
#include "launcher/split_exe_args.h"
#include "maker/item_composer.h"

namespace kelmo {
namespace {

constexpr auto kStd = LauncherChoice::Standard;
constexpr auto kPro = LauncherChoice::KelmoPro;

TEST(TrimSpacesTest, RemovesOnlyOuterAsciiSpaces) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } rows[] = {{L"", L""},
              {L"   ", L""},
              {L"  a b  ", L"a b"},
              {L"\ta\t", L"\ta\t"},
              {L"\x3000x\x3000", L"\x3000x\x3000"},
              {L" メモ帳 ", L"メモ帳"}};
  for (const auto& r : rows) EXPECT_EQ(TrimSpaces(r.in), r.out) << r.in;
}

TEST(ComposeEntryTest, FormsEntryFromLauncherOptionsAndText) {
  const struct {
    LauncherChoice launcher;
    std::array<bool, 4> timing;
    std::array<bool, 6> size;
    const wchar_t* text;
    const wchar_t* expected;
  } rows[] = {
      {kPro, {0, 1, 0, 0}, {0, 0, 1, 0, 0, 0}, L"notepad.exe", L"/wx:notepad.exe"},
      {kPro, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L"notepad.exe", L"/b:notepad.exe"},
      {kPro, {0, 0, 1, 0}, {0, 1, 0, 0, 0, 0}, L"a", L"/am:a"},
      {kPro, {0, 0, 0, 1}, {0, 0, 0, 0, 1, 0}, L"a", L"/ci:a"},
      {kPro, {0, 0, 0, 1}, {0, 0, 0, 0, 0, 1}, L"a", L"/co:a"},
      // Several set options (not reachable from the window): first one wins,
      // and size option 0 never hides a later letter.
      {kPro, {0, 1, 1, 1}, {1, 0, 0, 1, 1, 0}, L"a", L"/wn:a"},
      {kPro, {0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, L"a", L":a"},
      // Text is taken untrimmed and unchanged, including " /" and quotes.
      {kPro, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L"  app.exe /x  ", L"/b:  app.exe /x  "},
      {kStd, {0, 1, 0, 0}, {0, 0, 1, 0, 0, 0}, L"notepad.exe", L"\"notepad.exe\""},
      {kStd, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L" a\"b ", L"\" a\"b \""},
      {kStd, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L"C:\\メモ 帳.exe", L"\"C:\\メモ 帳.exe\""},
      // Nothing to add: blank once ASCII spaces are trimmed.
      {kStd, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L"", L""},
      {kStd, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L"    ", L""},
      {kPro, {0, 1, 0, 0}, {0, 0, 1, 0, 0, 0}, L"   ", L""},
      {kStd, {1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, L"\t", L"\"\t\""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ComposeEntry({r.launcher, r.timing, r.size, r.text}), r.expected) << r.text;
  }
}

// A dropped or browsed program's text, added for kelmoPro, reaches the
// launcher's own parser and split whole: a volume without short names leaves
// spaces in the path, and arguments may hold a slash.
TEST(ComposeEntryTest, ProgramTextReachesTheLaunchersSplitWhole) {
  const struct {
    const wchar_t *path, *arguments;
  } rows[] = {{L"C:\\PROGRA~1\\GAME\\GAME.EXE", L""},
              {L"D:\\Games\\My Game\\game.exe", L""},
              {L"C:\\PROGRA~1\\App\\app.exe", L"--url=https://x"},
              {L"D:\\My Game\\g.exe", L"-w \"x y\""}};
  for (const auto& r : rows) {
    const std::wstring text = ProgramTextFor(r.path, r.arguments);
    const auto plan = ParseLaunchCommandLine(L" " + ComposeEntry({kPro, {1}, {1}, text}));
    ASSERT_TRUE(plan && plan->before.size() == 1u) << text;
    const ExeArgs split = SplitExeArgs(plan->before[0].programText);
    EXPECT_EQ(split.file, r.path) << text;
    EXPECT_EQ(split.parameters.value_or(L""), r.arguments) << text;
  }
  const std::pair<const wchar_t*, bool> cuts[] = {
      {L"/v:host", true}, {L"-a /b", true}, {L"--url=https://x", false}, {L" -x\t/y", false}};
  for (const auto& [arguments, cut] : cuts) EXPECT_EQ(ArgumentsCutByKelmoPro(arguments), cut);
}

}  // namespace
}  // namespace kelmo
