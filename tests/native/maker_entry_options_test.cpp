// The seconds, whole-tree and readiness options of a kelmoPro entry: reading
// them and setting them. Agreement with what the launcher reads from any entry is
// checked by the fuzz_maker target.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "maker/entry_options.h"

namespace kelmo {
namespace {

// The options as one line: the seconds, then the letters found (g, r, p, h)
// and what applies (grace, pause, ready, tree; following by name, only where
// it does not).
std::wstring Render(const EntryOptions& o) {
  return std::to_wstring(o.seconds) + (o.wholeTree ? L" g" : L"") + (o.untilReady ? L" r" : L"") +
         (o.byName ? L" p" : L"") + (o.hidden ? L" h" : L"") + (o.graceApplies ? L" grace" : L"") +
         (o.pauseApplies ? L" pause" : L"") + (o.readyApplies ? L" ready" : L"") +
         (o.treeApplies ? L" tree" : L"") +
         (o.byNameApplies == (o.graceApplies || !o.pauseApplies) ? L"" : L" name?");
}

TEST(EntryOptionsTest, ReadsWhatTheLetterScanPassesOver) {
  const std::pair<const wchar_t*, const wchar_t*> rows[] = {
      {L"/c5:chat.exe", L"5 grace ready tree"},
      {L"/wgx:game.exe", L"0 g tree"},
      {L"/t10x:overlay.exe", L"10 grace ready tree"},
      {L"/Cg7:a", L"7 g grace ready tree"},
      {L"/c5x10:a", L"5 grace ready tree"},
      {L"/c99999:a", L"3600 grace ready tree"},
      {L"/b:a", L"0 pause ready"},
      {L"/am:a", L"0 pause ready"},
      {L"bn:a.exe", L"0 pause ready"},
      // A pause or readiness holds a before or after program, so g counts.
      {L"/b10r:vpn.exe", L"10 r pause ready tree"},
      {L"/aRg:a", L"0 g r pause ready tree"},
      {L"/cr5:voicechat.exe", L"5 r grace ready tree"},
      {L"/wr:a", L"0 r tree"},
      // Digits, g and r after the colon are the program's.
      {L"/c:g5r.exe", L"0 grace ready tree"},
      // With p, g and r no longer apply (on b and a p itself is passed over); the size
      // letter that counts is the first.
      {L"/wpgx:game.exe", L"0 g p"},
      {L"/c5pr:a", L"5 r p grace"},
      {L"/bp3:a", L"3 p pause"},
      {L"/hw:a", L"0 h tree"},
      {L"/txh:a", L"0 grace ready tree"},
  };
  for (const auto& [entry, expected] : rows) {
    const auto options = ReadEntryOptions(entry);
    ASSERT_TRUE(options.has_value()) << entry;
    EXPECT_EQ(Render(*options), expected) << entry;
  }
  for (const wchar_t* dropped : {L"/x:a", L"/notepad.exe", L"", L"/5g:a"}) {
    EXPECT_FALSE(ReadEntryOptions(dropped).has_value()) << dropped;
  }
}

TEST(EntryOptionsTest, SettingSecondsTreeAndReadinessRewritesOnlyTheLetters) {
  const struct {
    const wchar_t* entry;
    std::optional<int> grace;  // nullopt: leave the seconds alone
    int tree;                  // -1: leave the tree alone, else 0 off / 1 on
    const wchar_t* expected;   // null: the change is refused
    int ready = -1;            // as tree, for the readiness letter r
    int byName = -1;           // as tree, for p
    int hidden = -1;           // as tree, for h
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
      // r goes to the end of the letters, the seconds after the timing
      // letter; taking r out joins the seconds into one run.
      {L"/b:vpn.exe", 10, -1, L"/b10r:vpn.exe", 1},
      {L"/c5r5:a", std::nullopt, -1, L"/c5:a", 0},
      {L"/bRn:a", 0, 1, L"/bgRn:a", 1},
      {L"/b r/:a", std::nullopt, -1, nullptr, 0},
      // p goes to the end of the letters; h takes the size letters' place after the timing
      // letter, and off leaves none (the default show), the seconds in one run.
      {L"/wx:game.exe", std::nullopt, -1, L"/wxp:game.exe", -1, 1},
      {L"/c5pr:a", std::nullopt, -1, L"/c5r:a", -1, 0},
      {L"/c5x10:a", std::nullopt, -1, L"/ch5:a", -1, -1, 1},
      {L"/hbxn3:a", std::nullopt, -1, L"/b3:a", -1, -1, 0},
      {L"/bgh:a", std::nullopt, -1, L"/bgh:a", -1, -1, 1},
  };
  for (const auto& r : rows) {
    std::optional<std::wstring> entry = r.entry;
    if (r.grace) entry = WithSeconds(*entry, *r.grace);
    if (entry && r.tree >= 0) entry = WithWholeTree(*entry, r.tree == 1);
    if (entry && r.ready >= 0) entry = WithUntilReady(*entry, r.ready == 1);
    if (entry && r.byName >= 0) entry = WithByName(*entry, r.byName == 1);
    if (entry && r.hidden >= 0) entry = WithHidden(*entry, r.hidden == 1);
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
    EXPECT_EQ(ParseSeconds(typed), seconds) << typed;
  }
  for (const wchar_t* typed : {L"", L"  ", L"-1", L"1.5", L"5s", L"1 0"}) {
    EXPECT_EQ(ParseSeconds(typed), std::nullopt) << typed;
  }
}

}  // namespace
}  // namespace kelmo
