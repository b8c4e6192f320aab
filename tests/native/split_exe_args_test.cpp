#include "launcher/split_exe_args.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kelmo
