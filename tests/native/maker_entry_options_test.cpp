// The grace and whole-tree options of a kelmoPro entry: reading them, setting
// them, and agreement with what the launcher reads from the same entry.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "launcher/launch_command_line.h"
#include "maker/entry_options.h"
#include "maker/shortcut_make.h"
#include "maker/shortcut_open.h"

namespace kelmo {
namespace {

// The one plan entry the launcher makes of `entry`, whatever its list.
std::optional<PlanEntry> LauncherEntry(const std::wstring& entry) {
  const auto plan = ParseLaunchCommandLine(L" " + entry);
  if (!plan) return std::nullopt;
  for (const auto* list : {&plan->before, &plan->terminate, &plan->close, &plan->after}) {
    if (!list->empty()) return list->front();
  }
  return plan->waited;
}

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
    const auto options = ReadEntryOptions(r.entry);
    ASSERT_TRUE(options.has_value()) << r.entry;
    EXPECT_EQ(options->graceSeconds, r.grace) << r.entry;
    EXPECT_EQ(options->wholeTree, r.tree) << r.entry;
    EXPECT_EQ(options->graceApplies, r.graceApplies) << r.entry;
    EXPECT_EQ(options->treeApplies, r.treeApplies) << r.entry;
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
    const wchar_t* expected;
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
      // Nor is one that a dropped digit would cut in two.
      {L"/c 5/:a", 0, -1, L"/c 5/:a"},
      {L"notepad.exe", 5, 1, L"notepad.exe"},
  };
  for (const auto& r : rows) {
    std::wstring entry = r.entry;
    if (r.grace) entry = WithGraceSeconds(entry, *r.grace);
    if (r.tree >= 0) entry = WithWholeTree(entry, r.tree == 1);
    EXPECT_EQ(entry, r.expected) << r.entry;
  }
}

TEST(EntryOptionsTest, TypedSeconds) {
  const std::pair<const wchar_t*, std::optional<int>> rows[] = {
      {L"5", 5},
      {L" 12 ", 12},
      {L"0", 0},
      {L"007", 7},
      {L"３０", 30},
      {L"\u3000１５\u3000", 15},
      {L"99999999999", 3600},
      {L"", std::nullopt},
      {L"  ", std::nullopt},
      {L"-1", std::nullopt},
      {L"1.5", std::nullopt},
      {L"5s", std::nullopt},
      {L"1 0", std::nullopt},
  };
  for (const auto& [typed, expected] : rows) EXPECT_EQ(ParseGraceSeconds(typed), expected) << typed;
}

// Whatever the entry, the maker reads what the launcher reads, and its
// changes keep the launcher's timing, size and program text.
TEST(EntryOptionsTest, AgreesWithTheLauncherOnAnyEntry) {
  const std::wstring alphabet = L"/:abtcwgxmnG0123456789 .";
  std::mt19937 random(16);
  for (int round = 0; round < 20000; ++round) {
    std::wstring entry = L"/";
    const int length = static_cast<int>(random() % 14);
    for (int i = 0; i < length; ++i) entry += alphabet[random() % alphabet.size()];
    if (entry.find(L" /") != std::wstring::npos) continue;
    const auto options = ReadEntryOptions(entry);
    const auto launcher = LauncherEntry(entry);
    ASSERT_EQ(options.has_value(), launcher.has_value()) << entry;
    if (!options) continue;
    EXPECT_EQ(options->graceApplies ? options->graceSeconds : 0, launcher->graceSeconds) << entry;
    EXPECT_EQ(options->treeApplies && options->wholeTree, launcher->wholeTree) << entry;

    const int seconds = static_cast<int>(random() % 4000);
    const bool tree = random() % 2 == 0;
    const std::wstring treeOnly = WithWholeTree(entry, tree);
    EXPECT_EQ(ReadEntryOptions(treeOnly)->graceSeconds, options->graceSeconds) << treeOnly;
    const std::wstring graced = WithGraceSeconds(entry, seconds);
    const std::wstring changed = WithWholeTree(graced, tree);
    const auto after = LauncherEntry(changed);
    ASSERT_TRUE(after.has_value()) << changed;
    EXPECT_EQ(after->programText, launcher->programText) << changed;
    EXPECT_EQ(after->showMode, launcher->showMode) << changed;
    // A change is made in full, or refused and the entry left as it was.
    const auto reread = ReadEntryOptions(changed);
    if (graced != entry || options->graceSeconds == std::min(seconds, 3600)) {
      EXPECT_EQ(reread->graceSeconds, std::min(seconds, 3600)) << changed;
    }
    if (changed != graced || ReadEntryOptions(graced)->wholeTree == tree) {
      EXPECT_EQ(reread->wholeTree, tree) << changed;
    }
  }
}

// Opening a group gives these entries back as they were written.
TEST(EntryOptionsTest, OpeningAGroupKeepsTheEntries) {
  const std::wstring arguments = L" /c5:chat.exe /wgx:game.exe /tg10x:overlay.exe -a";
  const auto entries = KelmoProEntries(arguments);
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"/c5:chat.exe", L"/wgx:game.exe",
                                                L"/tg10x:overlay.exe -a"}));
  EXPECT_EQ(BuildArgumentString(entries), arguments);
}

}  // namespace
}  // namespace kelmo
