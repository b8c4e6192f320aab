// The launch command line parser: worked examples, the grammar's edge cases,
// and properties that must hold for any input.
#include "launcher/launch_command_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kelmo {
namespace {

using Entries = std::vector<PlanEntry>;

struct PlanCase {
  const wchar_t* commandLine;
  Entries before;
  Entries terminate;
  Entries close;
  std::optional<PlanEntry> waited;
  Entries after;
};

void ExpectPlan(const PlanCase& c) {
  SCOPED_TRACE(testing::Message() << "command line: [" << std::wstring(c.commandLine).size()
                                  << " chars] "
                                  << testing::PrintToString(std::wstring(c.commandLine)));
  const std::optional<LaunchPlan> plan = ParseLaunchCommandLine(c.commandLine);
  ASSERT_TRUE(plan.has_value());
  EXPECT_EQ(plan->before, c.before);
  EXPECT_EQ(plan->terminate, c.terminate);
  EXPECT_EQ(plan->close, c.close);
  EXPECT_EQ(plan->waited, c.waited);
  EXPECT_EQ(plan->after, c.after);
}

TEST(ParseLaunchCommandLine, WorkedExamples) {
  const PlanCase cases[] = {
      {L"/b:notepad.exe /wx:calc.exe",
       {{L"notepad.exe", 10}},
       {},
       {},
       PlanEntry{L"calc.exe", 3},
       {}},
      {L"/bn:a.exe /bm:b.exe /an:c.exe",
       {{L"a.exe", 1}, {L"b.exe", 2}},
       {},
       {},
       std::nullopt,
       {{L"c.exe", 1}}},
      {L"bn:a.exe", {{L"a.exe", 1}}, {}, {}, std::nullopt, {}},
      {L"/wb:a.exe /w:b.exe", {}, {}, {}, PlanEntry{L"a.exe", 10}, {}},
      {L"/b:n.exe /tx:h.exe /wm:g.exe /a:k.exe /c:c.exe",
       {{L"n.exe", 10}},
       {{L"h.exe", 3}},
       {{L"c.exe", 10}},
       PlanEntry{L"g.exe", 2},
       {{L"k.exe", 10}}},
  };
  for (const PlanCase& c : cases) ExpectPlan(c);
}

TEST(ParseLaunchCommandLine, BlankCommandLines) {
  for (const wchar_t* blank : {L"", L" ", L"      "}) {
    EXPECT_FALSE(ParseLaunchCommandLine(blank).has_value())
        << testing::PrintToString(std::wstring(blank));
  }
  // A tab or a lone slash is not blank: it parses to an empty plan.
  for (const wchar_t* notBlank : {L"\t", L"/", L" / "}) {
    const auto plan = ParseLaunchCommandLine(notBlank);
    ASSERT_TRUE(plan.has_value());
    EXPECT_TRUE(plan->before.empty() && plan->terminate.empty() && plan->close.empty() &&
                plan->after.empty() && !plan->waited);
  }
}

TEST(ParseLaunchCommandLine, LettersBeforeTheFirstColonDecide) {
  const PlanCase cases[] = {
      // First timing letter and first size letter win, in either case.
      {L"/wb:a.exe", {}, {}, {}, PlanEntry{L"a.exe", 10}, {}},
      {L"/bw:a.exe", {{L"a.exe", 10}}, {}, {}, std::nullopt, {}},
      {L"/bxn:a.exe", {{L"a.exe", 3}}, {}, {}, std::nullopt, {}},
      {L"/BNX:a.exe", {{L"a.exe", 1}}, {}, {}, std::nullopt, {}},
      {L"/Ti:a.exe", {}, {{L"a.exe", 7}}, {}, std::nullopt, {}},
      {L"/oC:a.exe", {}, {}, {{L"a.exe", 4}}, std::nullopt, {}},
      {L"/Ad:a.exe", {}, {}, {}, std::nullopt, {{L"a.exe", 10}}},
      // Other characters before the colon are passed over.
      {L"/9 -zb?x:a.exe", {{L"a.exe", 3}}, {}, {}, std::nullopt, {}},
      // Full-width letters do not count.
      {L"/ｂx:a.exe /b:z.exe", {{L"z.exe", 10}}, {}, {}, std::nullopt, {}},
      // A size letter alone, or no colon at all, drops the item.
      {L"/x:a.exe /b:b.exe /bnotepad.exe", {{L"b.exe", 10}}, {}, {}, std::nullopt, {}},
  };
  for (const PlanCase& c : cases) ExpectPlan(c);
}

TEST(ParseLaunchCommandLine, ProgramTexts) {
  const PlanCase cases[] = {
      // Inner spaces and later colons belong to the program text; outer spaces go.
      {L"/b:  C:\\Program Files\\a.exe  x:y  ",
       {{L"C:\\Program Files\\a.exe  x:y", 10}},
       {},
       {},
       std::nullopt,
       {}},
      // Empty program texts hold their place.
      {L"/b: /b:a.exe /b:", {{L"", 10}, {L"a.exe", 10}, {L"", 10}}, {}, {}, std::nullopt, {}},
      // A slash after a space starts a new piece: "k ..." has no colon and goes.
      {L"/b:cmd.exe /k dir", {{L"cmd.exe", 10}}, {}, {}, std::nullopt, {}},
      {L"/b:cmd.exe /a:x.exe", {{L"cmd.exe", 10}}, {}, {}, std::nullopt, {{L"x.exe", 10}}},
      // An item without its own colon takes the drive letter's: C reads as c.
      {L"/w C:\\tools\\app.exe", {}, {}, {}, PlanEntry{L"\\tools\\app.exe", 10}, {}},
      // Items run together are not cut apart.
      {L"/b:a.exe/b:b.exe", {{L"a.exe/b:b.exe", 10}}, {}, {}, std::nullopt, {}},
      // Leading spaces (the maker writes one) and several spaces between items.
      {L"   /b:a.exe     /a:b.exe", {{L"a.exe", 10}}, {}, {}, std::nullopt, {{L"b.exe", 10}}},
      // Japanese text passes through untouched.
      {L"/bm:メモ帳.exe 日本語.txt", {{L"メモ帳.exe 日本語.txt", 2}}, {}, {}, std::nullopt, {}},
  };
  for (const PlanCase& c : cases) ExpectPlan(c);
}

TEST(ParseLaunchCommandLine, FirstWaitedItemWinsEvenWhenEmpty) {
  ExpectPlan({L"/w: /w:b.exe", {}, {}, {}, PlanEntry{L"", 10}, {}});
  ExpectPlan({L"/b:a.exe /wx:b.exe /w:c.exe /wm:d.exe",
              {{L"a.exe", 10}},
              {},
              {},
              PlanEntry{L"b.exe", 3},
              {}});
}

// Digits and g among the letters add a grace and the whole tree; the letters
// still decide timing, size and program text as before.
TEST(ParseLaunchCommandLine, GraceDigitsAndWholeTree) {
  const auto entry = [](int show, int grace, bool tree) {
    return PlanEntry{L"a.exe", show, grace, tree};
  };
  const PlanCase cases[] = {
      {L"/c5:a.exe", {}, {}, {entry(10, 5, false)}, std::nullopt, {}},
      {L"/t10x:a.exe", {}, {entry(3, 10, false)}, {}, std::nullopt, {}},
      {L"/wgx:a.exe", {}, {}, {}, entry(3, 0, true), {}},
      {L"/TG:a.exe", {}, {entry(10, 0, true)}, {}, std::nullopt, {}},
      {L"/g7cn:a.exe", {}, {}, {entry(1, 7, true)}, std::nullopt, {}},
      // The first run of digits counts; leading zeros are harmless.
      {L"/c5x10:a.exe", {}, {}, {entry(3, 5, false)}, std::nullopt, {}},
      {L"/c007:a.exe", {}, {}, {entry(10, 7, false)}, std::nullopt, {}},
      // More than an hour is an hour, however many digits.
      {L"/c3601:a.exe", {}, {}, {entry(10, 3600, false)}, std::nullopt, {}},
      {L"/t99999999999999999999999:a.exe", {}, {entry(10, 3600, false)}, {}, std::nullopt, {}},
      // 0 is no grace.
      {L"/c0g:a.exe", {}, {}, {entry(10, 0, true)}, std::nullopt, {}},
      // No grace for b, w and a; no tree for b and a.
      {L"/b5g:a.exe", {entry(10, 0, false)}, {}, {}, std::nullopt, {}},
      {L"/w30:a.exe", {}, {}, {}, entry(10, 0, false), {}},
      {L"/ag9:a.exe", {}, {}, {}, std::nullopt, {entry(10, 0, false)}},
      // Digits and g after the colon belong to the program text.
      {L"/c:5g a.exe", {}, {}, {PlanEntry{L"5g a.exe", 10}}, std::nullopt, {}},
      // A digit or g alone is no timing letter: the item is dropped.
      {L"/5g:a.exe", {}, {}, {}, std::nullopt, {}},
  };
  for (const PlanCase& c : cases) ExpectPlan(c);
}

TEST(ArgumentText, DropsTheProgramNameOnly) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"kelmoPro.exe /b:a.exe", L"/b:a.exe"},
      {L"\"C:\\Kelmo dir\\kelmoPro.exe\"  /b:a.exe  /a:b  ", L"/b:a.exe  /a:b  "},
      // As the C runtime reads it, the name runs on after its closing quote up to a blank.
      {L"\"C:\\x.exe\"/b:a.exe", L""},
      {L"kelmoPro.exe", L""},
      {L"\"unterminated", L""},
      {L"", L""},
  };
  for (const auto& [commandLine, expected] : cases) {
    EXPECT_EQ(std::wstring(ArgumentText(commandLine)), expected)
        << testing::PrintToString(std::wstring(commandLine));
  }
}

// Random texts built from the characters that matter to the grammar.
TEST(ParseLaunchCommandLine, AnyInputGivesAWellFormedPlan) {
  const std::wstring alphabet = L"  //::abtcwdimnoxgABTCWDIMNOXGz.\\\"\t0159あ";
  std::mt19937 random(12345);
  for (int round = 0; round < 20000; ++round) {
    std::wstring text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    const std::optional<LaunchPlan> plan = ParseLaunchCommandLine(text);
    if (!plan) {
      EXPECT_EQ(text.find_first_not_of(L' '), std::wstring::npos) << "not blank but no plan";
      continue;
    }
    std::vector<PlanEntry> all;
    for (const auto* list : {&plan->before, &plan->terminate, &plan->close, &plan->after}) {
      all.insert(all.end(), list->begin(), list->end());
    }
    if (plan->waited) all.push_back(*plan->waited);
    for (const PlanEntry& entry : all) {
      const int mode = entry.showMode;
      EXPECT_TRUE(mode == 1 || mode == 2 || mode == 3 || mode == 4 || mode == 7 || mode == 10)
          << mode;
      if (!entry.programText.empty()) {
        EXPECT_NE(entry.programText.front(), L' ');
        EXPECT_NE(entry.programText.back(), L' ');
      }
      EXPECT_EQ(entry.programText.find(L" /"), std::wstring::npos);
      EXPECT_TRUE(entry.graceSeconds >= 0 && entry.graceSeconds <= kMaxGraceSeconds);
    }
    for (const auto* list : {&plan->before, &plan->after}) {
      for (const PlanEntry& entry : *list) EXPECT_TRUE(entry.graceSeconds == 0 && !entry.wholeTree);
    }
    if (plan->waited) {
      EXPECT_EQ(plan->waited->graceSeconds, 0);
    }
  }
}

}  // namespace
}  // namespace kelmo
