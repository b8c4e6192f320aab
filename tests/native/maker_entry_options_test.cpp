// The grace and whole-tree options of a kelmoPro entry: reading them and
// setting them. Agreement with what the launcher reads from any entry is
// checked by the fuzz_maker target.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "maker/entry_options.h"

namespace kelmo {
namespace {

TEST(EntryOptionsTest, ReadsWhatTheLetterScanPassesOver) {
  const struct {
    const wchar_t* entry;
    int grace;
    bool tree, graceApplies, treeApplies;
  } rows[] = {
      {L"/c5:chat.exe", 5, false, true, true},
      {L"/wgx:game.exe", 0, true, false, true},
      {L"/t10x:overlay.exe", 10, false, true, true},
      {L"/Cg7:a", 7, true, true, true},
      {L"/c5x10:a", 5, false, true, true},
      {L"/c99999:a", 3600, false, true, true},
      {L"/b:a", 0, false, false, false},
      {L"/am:a", 0, false, false, false},
      {L"bn:a.exe", 0, false, false, false},
      // Digits and g after the colon are the program's.
      {L"/c:g5.exe", 0, false, true, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(r.entry)));
    const auto options = ReadEntryOptions(r.entry);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->graceSeconds, r.grace);
    EXPECT_EQ(options->wholeTree, r.tree);
    EXPECT_EQ(options->graceApplies, r.graceApplies);
    EXPECT_EQ(options->treeApplies, r.treeApplies);
  }
  for (const wchar_t* dropped : {L"/x:a", L"/notepad.exe", L"", L"/5g:a"}) {
    EXPECT_FALSE(ReadEntryOptions(dropped).has_value()) << dropped;
  }
}

TEST(EntryOptionsTest, SettingGraceAndTreeRewritesOnlyTheLetters) {
  const struct {
    const wchar_t* entry;
    std::optional<int> grace;  // nullopt: leave the grace alone
    int tree;                  // -1: leave the tree alone, else 0 off / 1 on
    const wchar_t* expected;   // null: the change is refused
  } rows[] = {
      {L"/c:chat.exe", 5, -1, L"/c5:chat.exe"},
      {L"/wx:game.exe", std::nullopt, 1, L"/wgx:game.exe"},
      {L"/cx:a", 30, 1, L"/cg30x:a"},
      {L"/cg30x:a", 0, -1, L"/cgx:a"},
      {L"/cg30x:a", std::nullopt, 0, L"/c30x:a"},
      {L"/c5x10:a", 7, -1, L"/c7x:a"},  // no later digits left to be read instead
      {L"/c5x10:a", 0, -1, L"/cx:a"},
      {L"/c:a", 4000, -1, L"/c3600:a"},
      {L"/c:a", -5, -1, L"/c:a"},
      {L"/gxw:a", std::nullopt, 1, L"/gxw:a"},
      {L"/gxw:a", std::nullopt, 0, L"/xw:a"},
      {L"/c5g5:a", std::nullopt, 0, L"/c5:a"},
      {L"/wG:a", std::nullopt, 1, L"/wG:a"},
      {L"/c:C:\\g 5\\a.exe", 9, 1, L"/cg9:C:\\g 5\\a.exe"},
      // Entries the launcher drops stay as they are.
      {L"/x:a", 5, 1, L"/x:a"},
      {L"notepad.exe", 5, 1, L"notepad.exe"},
      // A change that a dropped digit would cut in two is refused; a switch
      // in the program text is cut the same before and after.
      {L"/c 5/:a", 0, -1, nullptr},
      {L"/tg 5/:a", std::nullopt, 0, nullptr},
      {L"/c:cmd.exe /k dir", 5, 1, L"/cg5:cmd.exe /k dir"},
      {L"/cg7:cmd.exe /k /q", std::nullopt, 0, L"/c7:cmd.exe /k /q"},
  };
  for (const auto& r : rows) {
    std::optional<std::wstring> entry = r.entry;
    if (r.grace) entry = WithGraceSeconds(*entry, *r.grace);
    if (entry && r.tree >= 0) entry = WithWholeTree(*entry, r.tree == 1);
    EXPECT_EQ(entry, r.expected ? std::optional<std::wstring>(r.expected) : std::nullopt)
        << r.entry;
  }
}

TEST(EntryOptionsTest, TypedSeconds) {
  const std::pair<const wchar_t*, int> accepted[] = {{L"5", 5},
                                                     {L" 12 ", 12},
                                                     {L"0", 0},
                                                     {L"007", 7},
                                                     {L"３０", 30},
                                                     {L"\u3000１５\u3000", 15},
                                                     {L"99999999999", 3600}};
  for (const auto& [typed, seconds] : accepted) {
    EXPECT_EQ(ParseGraceSeconds(typed), seconds) << typed;
  }
  for (const wchar_t* typed : {L"", L"  ", L"-1", L"1.5", L"5s", L"1 0"}) {
    EXPECT_EQ(ParseGraceSeconds(typed), std::nullopt) << typed;
  }
}

}  // namespace
}  // namespace kelmo
