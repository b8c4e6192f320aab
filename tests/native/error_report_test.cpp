#include "common/error_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelmo {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(L"\r\n", start);
    lines.push_back(
        text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) return lines;
    start = end + 2;
  }
}

constexpr Maintainer kMaintainer{L"山田 太郎", L"taro@example.jp"};
constexpr ProgramIdentity kMaker{L"Kelmo Command line Maker", 1, 4, 2485};
constexpr ProgramIdentity kLauncher{L"KelmoPro", 1, 4, 2485};

TEST(BuildErrorReport, FiveLinesInOrder) {
  const std::wstring text =
      BuildErrorReport(5, L"Invalid procedure call", L"cmdList_Click", kMaker, kMaintainer);
  EXPECT_EQ(text,
            L"エラー番号:5\r\n"
            L"場所:cmdList_ClickKelmo Command line Maker1.04.2485\r\n"
            L"Invalid procedure call\r\n"
            L"上記の説明と、エラーの発生したときの簡単な状況を書いて、\r\n"
            L"\"山田 太郎\" <taro@example.jp> まで連絡してください。");
  EXPECT_NE(text.substr(text.size() - 2), L"\r\n");
}

TEST(BuildErrorReport, NumbersAndVersions) {
  struct Case {
    std::int32_t number;
    ProgramIdentity program;
    const wchar_t* line1;
    const wchar_t* line2;
  };
  const Case cases[] = {
      {0, kLauncher, L"エラー番号:0", L"場所:Form_LoadKelmoPro1.04.2485"},
      {-2147024894, kLauncher, L"エラー番号:-2147024894", L"場所:Form_LoadKelmoPro1.04.2485"},
      {INT32_MIN, kLauncher, L"エラー番号:-2147483648", L"場所:Form_LoadKelmoPro1.04.2485"},
      {INT32_MAX,
       {L"KelmoPro", 12, 123, 7},
       L"エラー番号:2147483647",
       L"場所:Form_LoadKelmoPro12.123.0007"},
      {53, {L"KelmoPro", 0, 0, 12345}, L"エラー番号:53", L"場所:Form_LoadKelmoPro0.00.12345"},
  };
  for (const Case& c : cases) {
    const auto lines =
        Lines(BuildErrorReport(c.number, L"x", L"Form_Load", c.program, kMaintainer));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], c.line1);
    EXPECT_EQ(lines[1], c.line2);
  }
}

TEST(BuildErrorReport, DescriptionIsKeptAsItIs) {
  EXPECT_EQ(Lines(BuildErrorReport(1, L"", L"p", kLauncher, kMaintainer)).size(), 5u);
  EXPECT_EQ(Lines(BuildErrorReport(1, L"", L"p", kLauncher, kMaintainer))[2], L"");
  EXPECT_EQ(Lines(BuildErrorReport(1, L" 100% <&> ", L"p", kLauncher, kMaintainer))[2],
            L" 100% <&> ");
}

TEST(BuildErrorReport, ProgramsDifferOnlyInTheirTitle) {
  const std::wstring maker = BuildErrorReport(7, L"d", L"p", kMaker, kMaintainer);
  const std::wstring launcher = BuildErrorReport(7, L"d", L"p", kLauncher, kMaintainer);
  auto m = Lines(maker), l = Lines(launcher);
  EXPECT_NE(m[1], l[1]);
  m[1].clear();
  l[1].clear();
  EXPECT_EQ(m, l);
  EXPECT_EQ(ErrorReportTitle(kLauncher.productTitle), L"エラー - KelmoPro");
  EXPECT_EQ(ErrorReportTitle(kMaker.productTitle), L"エラー - Kelmo Command line Maker");
}

TEST(ProjectMaintainer, IsFilledIn) {
  const Maintainer maintainer = ProjectMaintainer();
  EXPECT_FALSE(maintainer.name.empty());
  EXPECT_NE(maintainer.email.find(L'@'), std::wstring_view::npos);
}

}  // namespace
}  // namespace kelmo
