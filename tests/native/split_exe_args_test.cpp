#include "launcher/split_exe_args.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "launcher/standard_command_line.h"

namespace kelmo {
namespace {

TEST(SplitExeArgs, CutsAtTheLaterOfFirstSlashAndFirstSpaceUnlessQuoted) {
  const struct {
    const wchar_t *programText, *file;
    const wchar_t* parameters;  // nullptr: none
  } rows[] = {
      {L"notepad.exe", L"notepad.exe", nullptr},
      {L"notepad.exe memo.txt", L"notepad.exe", L"memo.txt"},
      {L"app.exe /s", L"app.exe ", L"/s"},
      {L"app.exe/s", L"app.exe", L"/s"},
      {L"notepad.exe a/b.txt", L"notepad.exe a", L"/b.txt"},
      {L"/s", L"", L"/s"},
      {L"", L"", nullptr},
      // An unquoted path with a space is cut at the space.
      {L"C:\\Program Files\\app.exe", L"C:\\Program", L"Files\\app.exe"},
      {L"a.exe   x  y  ", L"a.exe", L"x  y"},
      {L"メモ帳.exe 日本語.txt", L"メモ帳.exe", L"日本語.txt"},
      // A quoted file names its path.
      {L"\"C:\\Program Files\\App\\app.exe\" -x", L"C:\\Program Files\\App\\app.exe", L"-x"},
      {L"\"C:\\Program Files\\App\\app.exe\"", L"C:\\Program Files\\App\\app.exe", nullptr},
      {L"\"C:\\a b\\app.exe\"   ", L"C:\\a b\\app.exe", nullptr},
      {L"\"C:\\a b\\app.exe\"/s x/y", L"C:\\a b\\app.exe", L"/s x/y"},
      {L"\"C:\\a b\\app.exe", L"C:\\a b\\app.exe", nullptr},
      {L"\"\" x", L"", L"x"},
  };
  for (const auto& r : rows) {
    const ExeArgs expected{r.file,
                           r.parameters ? std::optional<std::wstring>(r.parameters) : std::nullopt};
    EXPECT_EQ(SplitExeArgs(r.programText), expected)
        << testing::PrintToString(std::wstring(r.programText));
  }
}

// A command line handed to the shell instead of a process start: the file
// ends at the first space or tab unless quoted; a slash cuts nothing.
TEST(SplitCommandLine, CutsAsAProcessStartReadsTheLine) {
  const struct {
    const wchar_t *commandLine, *file;
    const wchar_t* parameters;  // nullptr: none
  } rows[] = {
      {L"admin.exe", L"admin.exe", nullptr},
      {L"admin.exe /s -x", L"admin.exe", L"/s -x"},
      {L"tool.exe/s", L"tool.exe/s", nullptr},
      {L"tool.exe\t-x", L"tool.exe", L"-x"},
      {L"\"C:\\Program Files\\A\\a.exe\" /q", L"C:\\Program Files\\A\\a.exe", L"/q"},
  };
  for (const auto& r : rows) {
    const ExeArgs expected{r.file,
                           r.parameters ? std::optional<std::wstring>(r.parameters) : std::nullopt};
    EXPECT_EQ(SplitCommandLine(r.commandLine), expected)
        << testing::PrintToString(std::wstring(r.commandLine));
  }
}

// kelmo.exe's command line: "file [parameters]" per program, " | " between.
TEST(ReadStandardCommandLine, QuotedEntriesGiveTheLongestExistingPathAndItsParameters) {
  const struct {
    const wchar_t* arguments;
    std::set<std::wstring> existing;
    const wchar_t* programs;
  } rows[] = {
      {L"   ", {}, L""},
      {L" \"notepad.exe\" \"C:\\t\\a.exe -x https://h/p\"",
       {},
       L"notepad.exe | C:\\t\\a.exe [-x https://h/p]"},
      // A path that keeps its spaces, whole or before its parameters; the
      // longest existing beginning wins over a shorter one.
      {L" \"C:\\My Apps\\app.exe\" \"C:\\My Apps\\app.exe  --y z\"",
       {L"C:\\My", L"C:\\My Apps\\app.exe"},
       L"C:\\My Apps\\app.exe | C:\\My Apps\\app.exe [--y z]"},
      {L" \"D:\\My Documents\"", {L"D:\\My Documents"}, L"D:\\My Documents"},
      {L" \"C:\\My Apps\\app.exe\"", {}, L"C:\\My [Apps\\app.exe]"},
      {L" \"C:\\ツール\\メモ帳.exe 日本語.txt\"",
       {L"C:\\ツール\\メモ帳.exe"},
       L"C:\\ツール\\メモ帳.exe [日本語.txt]"},
      // A quoted path inside the entry is read as a process start reads it.
      {L" \"\"C:\\a b\\x.exe\" -y\"", {L"C:\\a"}, L"C:\\a b\\x.exe [-y]"},
      // Spaces inside the quotes and between entries; entries without a file.
      {L" \"  spaced.exe  \"   \"\" \"\"\"\" x\" \"b.exe\"", {}, L"spaced.exe | b.exe"},
      {L"notepad.exe memo.txt", {}, L"notepad.exe [memo.txt]"},
      {L" \"a.exe  x\"", {L"a.exe"}, L"a.exe [x]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(row.arguments)));
    // As Windows answers: trailing spaces of a path are dropped.
    const auto exists = [&row](const std::wstring& path) {
      return row.existing.count(path.substr(0, path.find_last_not_of(L' ') + 1)) > 0;
    };
    std::wstring programs;
    for (const ExeArgs& program : ReadStandardCommandLine(row.arguments, exists)) {
      if (!programs.empty()) programs += L" | ";
      programs += program.file + (program.parameters ? L" [" + *program.parameters + L"]" : L"");
    }
    EXPECT_EQ(programs, row.programs);
  }
}

}  // namespace
}  // namespace kelmo
