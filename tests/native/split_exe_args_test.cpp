// Cutting program texts and command lines, and reading a program file's
// subsystem from its first bytes.
#include "launcher/split_exe_args.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "launcher/image_subsystem.h"
#include "launcher/standard_command_line.h"

namespace kelmo {
namespace {

// A command line handed to the shell instead of a process start (the last
// rows) is cut at its first space or tab unless quoted; a slash cuts nothing.
TEST(SplitExeArgs, CutsAtTheLaterOfFirstSlashAndFirstSpaceUnlessQuoted) {
  const struct {
    const wchar_t *programText, *file;
    const wchar_t* parameters;  // nullptr: none
    bool commandLine = false;
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
      {L"admin.exe /s -x", L"admin.exe", L"/s -x", true},
      {L"tool.exe/s", L"tool.exe/s", nullptr, true},
      {L"tool.exe\t-x", L"tool.exe", L"-x", true},
      {L"\"C:\\a b\\a.exe\" /q", L"C:\\a b\\a.exe", L"/q", true},
  };
  for (const auto& r : rows) {
    const ExeArgs expected{r.file,
                           r.parameters ? std::optional<std::wstring>(r.parameters) : std::nullopt};
    EXPECT_EQ(r.commandLine ? SplitCommandLine(r.programText) : SplitExeArgs(r.programText),
              expected)
        << testing::PrintToString(std::wstring(r.programText));
  }
}

// An image's head: MZ, e_lfanew = `peAt`, "PE\0\0", the optional header's
// size, magic and subsystem; cut to `size` bytes.
std::string Head(std::uint32_t peAt, std::uint16_t magic, std::uint16_t optionalSize,
                 std::size_t size = 1024) {
  std::string head(std::max<std::size_t>(size, peAt + 200), '\0');
  const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) head[at + i] = static_cast<char>(value >> (8 * i));
  };
  put(0, 'M' | 'Z' << 8, 2);
  put(0x3C, peAt, 4);
  put(peAt, 'P' | 'E' << 8, 4);
  put(peAt + 20, optionalSize, 2);
  put(peAt + 24, magic, 2);
  put(peAt + 24 + 68, peAt == 0xF8 ? kGuiSubsystem : kConsoleSubsystem, 2);
  head.resize(size);
  return head;
}

TEST(ImageSubsystem, ReadsTheOptionalHeaderOrNothing) {
  const std::optional<std::uint16_t> console = kConsoleSubsystem, none;
  const std::pair<std::string, std::optional<std::uint16_t>> rows[] = {
      {Head(0x80, 0x10B, 224), console},
      {Head(0xF8, 0x20B, 240), kGuiSubsystem},  // PE32+
      {Head(0xE00, 0x10B, 224, 4096), console},
      {Head(0x80, 0x10B, 224, 0x80 + 24 + 70), console},            // cut right after the field
      {Head(0x80, 0x10B, 224, 0x80 + 24 + 69), none},               // cut inside it
      {Head(0x2000, 0x10B, 224, 4096), none},                       // header beyond the head
      {"MZ" + std::string(0x3A, '\0') + "\xF0\xFF\xFF\xFF", none},  // e_lfanew near 4 GiB
      {Head(0x80, 0x10B, 68), none},                                // optional header too small
      {Head(0x80, 0x107, 224), none},                               // a ROM image's magic
      {"ZM" + Head(0x80, 0x10B, 224).substr(2), none},
      {"@echo off\r\nstart game.exe\r\n", none},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(ImageSubsystem(rows[i].first), rows[i].second) << "row " << i;
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
