// Which running programs a p item's text names.
#include "launcher/program_name.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kelmo {
namespace {

std::wstring Expanded(std::wstring_view text) {
  const std::map<std::wstring, std::wstring, std::less<>> environment = {
      {L"GAMES", L"C:\\Games"}, {L"A", L"1"}, {L"B", L"2"}};
  return ExpandVariables(text, [&](std::wstring_view name) -> std::optional<std::wstring> {
    const auto it = environment.find(name);
    return it == environment.end() ? std::nullopt : std::optional<std::wstring>(it->second);
  });
}

// A process the launcher could not open shows its file name alone.
TEST(ProgramName, NamesPathsFoldersShortFormsAndVariables) {
  const struct {
    const wchar_t *text, *path, *shortPath;
    bool matches;
  } rows[] = {
      {L"game.exe", L"C:\\Games\\GAME.EXE", L"", true},
      {L"game.exe", L"C:\\Games\\game.exe.bak", L"", false},
      {L"game.exe", L"game.exe", L"", true},
      {L"Ärger.exe", L"C:\\x\\ärger.EXE", L"", true},
      {L"C:\\Games\\game.exe", L"c:\\games\\Game.exe", L"", true},
      {L"C:\\Games\\game.exe", L"D:\\Games\\game.exe", L"", false},
      {L"C:\\Games\\game.exe", L"game.exe", L"", false},
      {L" \"C:/Program Files/G/g.exe\" ", L"C:\\Program Files\\G\\g.exe", L"", true},
      {L"C:\\Games\\", L"C:\\Games\\sub\\x.exe", L"", true},
      {L"C:\\Games\\", L"C:\\GamesOld\\x.exe", L"", false},
      {L"C:\\Games\\", L"x.exe", L"", false},
      {L"C:\\PROGRA~1\\Game\\game.exe", L"C:\\Program Files\\Game\\game.exe",
       L"C:\\PROGRA~1\\Game\\game.exe", true},
      {L"GAMELA~1.EXE", L"C:\\G\\GameLauncher.exe", L"C:\\G\\GAMELA~1.EXE", true},
      {L"%GAMES%\\game.exe", L"C:\\Games\\game.exe", L"", true},
      {L"%NOPE%\\game.exe", L"C:\\Games\\game.exe", L"", false},
      {L"", L"C:\\Games\\game.exe", L"", false},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(MatchesName(ReadNamePattern(Expanded(r.text)), {1, 0, r.path, r.shortPath}),
              r.matches)
        << testing::PrintToString(std::wstring(r.text)) << " / "
        << testing::PrintToString(std::wstring(r.path));
  }
  // A name Windows does not know stays as written.
  EXPECT_EQ(Expanded(L"%A%%B%|%X%%A%|50% off|%B"), L"12|%X%1|50% off|%B");
}

}  // namespace
}  // namespace kelmo
