#include "common/error_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kelmo {
namespace {

constexpr Maintainer kMaintainer{L"山田 太郎", L"taro@example.jp"};
constexpr ProgramIdentity kMaker{L"Kelmo Command line Maker", 1, 4, 2485};
constexpr ProgramIdentity kLauncher{L"KelmoPro", 1, 4, 2485};
constexpr ProgramIdentity kWideVersion{L"KelmoPro", 12, 123, 7};
constexpr ProgramIdentity kLongRevision{L"KelmoPro", 0, 0, 12345};

// Every report ends with these two lines, whichever program writes it, and
// without a line break after them.
constexpr wchar_t kContactLines[] =
    L"上記の説明と、エラーの発生したときの簡単な状況を書いて、\r\n"
    L"\"山田 太郎\" <taro@example.jp> まで連絡してください。";

TEST(BuildErrorReport, NumberPlaceAndVersionDescriptionThenContact) {
  const struct {
    std::int32_t number;
    const wchar_t *description, *place;
    ProgramIdentity program;
    const wchar_t* firstLines;  // number, place and version, description
  } rows[] = {
      {5, L"Invalid procedure call", L"cmdList_Click", kMaker,
       L"エラー番号:5\r\n場所:cmdList_ClickKelmo Command line Maker1.04.2485\r\n"
       L"Invalid procedure call\r\n"},
      {0, L"x", L"Form_Load", kLauncher,
       L"エラー番号:0\r\n場所:Form_LoadKelmoPro1.04.2485\r\nx\r\n"},
      {-2147024894, L"x", L"Form_Load", kLauncher,
       L"エラー番号:-2147024894\r\n場所:Form_LoadKelmoPro1.04.2485\r\nx\r\n"},
      {INT32_MIN, L"x", L"Form_Load", kLauncher,
       L"エラー番号:-2147483648\r\n場所:Form_LoadKelmoPro1.04.2485\r\nx\r\n"},
      {INT32_MAX, L"x", L"Form_Load", kWideVersion,
       L"エラー番号:2147483647\r\n場所:Form_LoadKelmoPro12.123.0007\r\nx\r\n"},
      {53, L"x", L"Form_Load", kLongRevision,
       L"エラー番号:53\r\n場所:Form_LoadKelmoPro0.00.12345\r\nx\r\n"},
      // The description is kept as it is, even when empty.
      {1, L"", L"p", kLauncher, L"エラー番号:1\r\n場所:pKelmoPro1.04.2485\r\n\r\n"},
      {1, L" 100% <&> ", L"p", kLauncher,
       L"エラー番号:1\r\n場所:pKelmoPro1.04.2485\r\n 100% <&> \r\n"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(BuildErrorReport(r.number, r.description, r.place, r.program, kMaintainer),
              std::wstring(r.firstLines) + kContactLines);
  }
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
