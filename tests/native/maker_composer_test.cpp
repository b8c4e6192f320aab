#include <gtest/gtest.h>

#include "common/text_util.h"
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

// A dropped program's path where the volume keeps no short names: kelmoPro
// would cut it at its first ASCII space, the standard entry quotes it whole.
TEST(ComposeEntryTest, DroppedPathIsQuotedWhereKelmoProWouldCutIt) {
  const struct {
    const wchar_t* path;
    LauncherChoice launcher;
    const wchar_t* text;
  } rows[] = {
      {L"C:\\PROGRA~1\\GAME\\GAME.EXE", kPro, L"C:\\PROGRA~1\\GAME\\GAME.EXE"},
      {L"D:\\Games\\My Game\\game.exe", kPro, L"\"D:\\Games\\My Game\\game.exe\""},
      {L"D:\\Games\\My Game\\game.exe", kStd, L"D:\\Games\\My Game\\game.exe"},
      {L"D:\\ゲーム\\\x3000x.exe", kPro, L"D:\\ゲーム\\\x3000x.exe"},
  };
  for (const auto& r : rows) EXPECT_EQ(DroppedProgramText(r.path, r.launcher), r.text) << r.path;
}

}  // namespace
}  // namespace kelmo
