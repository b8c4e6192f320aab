// The launch command line parser: worked examples and the grammar's edge
// cases. Properties that must hold for any input are checked by the
// fuzz_launcher target.
#include "launcher/launch_command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kelmo {
namespace {

// A plan as one line, lists in the order before, terminate, close, waited,
// after: each entry as its list letter, [program text], show mode, then
// "+seconds" for a grace, "~seconds" for a pause, "r" for readiness, "g"
// for the whole tree, "p" for following by name and "@seconds" for the time
// to appear. "none" is no plan.
std::wstring Render(const std::optional<LaunchPlan>& plan) {
  if (!plan) return L"none";
  std::wstring text;
  const auto add = [&](wchar_t list, const PlanEntry& e) {
    text += (text.empty() ? L"" : L" ") + std::wstring(1, list) + L"[" + e.programText + L"]" +
            std::to_wstring(e.showMode);
    if (e.graceSeconds != 0) text += L"+" + std::to_wstring(e.graceSeconds);
    if (e.pauseSeconds != 0) text += L"~" + std::to_wstring(e.pauseSeconds);
    if (e.untilReady) text += L"r";
    if (e.wholeTree) text += L"g";
    if (e.byName) text += L"p";
    if (e.appearSeconds != 0) text += L"@" + std::to_wstring(e.appearSeconds);
  };
  for (const PlanEntry& e : plan->before) add(L'b', e);
  for (const PlanEntry& e : plan->terminate) add(L't', e);
  for (const PlanEntry& e : plan->close) add(L'c', e);
  if (plan->waited) add(L'w', *plan->waited);
  for (const PlanEntry& e : plan->after) add(L'a', e);
  return text;
}

TEST(ParseLaunchCommandLine, PlansOfCommandLines) {
  const struct {
    const wchar_t *commandLine, *plan;
  } rows[] = {
      // Worked examples.
      {L"/b:notepad.exe /wx:calc.exe", L"b[notepad.exe]10 w[calc.exe]3"},
      {L"/bn:a.exe /bm:b.exe /an:c.exe", L"b[a.exe]1 b[b.exe]2 a[c.exe]1"},
      {L"bn:a.exe", L"b[a.exe]1"},
      {L"/b:n.exe /tx:h.exe /wm:g.exe /a:k.exe /c:c.exe",
       L"b[n.exe]10 t[h.exe]3 c[c.exe]10 w[g.exe]2 a[k.exe]10"},
      // Blank: no plan. A tab or a lone slash is not blank: an empty plan.
      {L"", L"none"},
      {L" ", L"none"},
      {L"      ", L"none"},
      {L"\t", L""},
      {L"/", L""},
      {L" / ", L""},
      // The first timing letter and the first size letter win, in either case.
      {L"/wb:a.exe", L"w[a.exe]10"},
      {L"/bw:a.exe", L"b[a.exe]10"},
      {L"/bxn:a.exe", L"b[a.exe]3"},
      {L"/BNX:a.exe", L"b[a.exe]1"},
      {L"/Ti:a.exe", L"t[a.exe]7"},
      {L"/oC:a.exe", L"c[a.exe]4"},
      {L"/Ad:a.exe", L"a[a.exe]10"},
      // Other characters before the colon are passed over (digits are a pause).
      {L"/9 -zb?x:a.exe", L"b[a.exe]3~9"},
      // Full-width letters do not count.
      {L"/ｂx:a.exe /b:z.exe", L"b[z.exe]10"},
      // A size letter alone, or no colon at all, drops the item.
      {L"/x:a.exe /b:b.exe /bnotepad.exe", L"b[b.exe]10"},
      // Inner spaces and later colons belong to the program text; outer spaces go.
      {L"/b:  C:\\Program Files\\a.exe  x:y  ", L"b[C:\\Program Files\\a.exe  x:y]10"},
      // Empty program texts hold their place.
      {L"/b: /b:a.exe /b:", L"b[]10 b[a.exe]10 b[]10"},
      // A slash after a space starts a new piece: "k ..." has no colon and goes.
      {L"/b:cmd.exe /k dir", L"b[cmd.exe]10"},
      {L"/b:cmd.exe /a:x.exe", L"b[cmd.exe]10 a[x.exe]10"},
      // An item without its own colon takes the drive letter's: C reads as c.
      {L"/w C:\\tools\\app.exe", L"w[\\tools\\app.exe]10"},
      // Items run together are not cut apart.
      {L"/b:a.exe/b:b.exe", L"b[a.exe/b:b.exe]10"},
      // Leading spaces (the maker writes one) and several spaces between items.
      {L"   /b:a.exe     /a:b.exe", L"b[a.exe]10 a[b.exe]10"},
      {L"/bm:メモ帳.exe 日本語.txt", L"b[メモ帳.exe 日本語.txt]2"},
      // The first waited item wins, even when empty.
      {L"/w: /w:b.exe", L"w[]10"},
      {L"/b:a.exe /wx:b.exe /w:c.exe /wm:d.exe", L"b[a.exe]10 w[b.exe]3"},
      // Digits and g among the letters add a grace and the whole tree; the
      // letters still decide timing, size and program text.
      {L"/c5:a.exe", L"c[a.exe]10+5"},
      {L"/t10x:a.exe", L"t[a.exe]3+10"},
      {L"/wgx:a.exe", L"w[a.exe]3g"},
      {L"/TG:a.exe", L"t[a.exe]10g"},
      {L"/g7cn:a.exe", L"c[a.exe]1+7g"},
      // The first run of digits counts; leading zeros are harmless.
      {L"/c5x10:a.exe", L"c[a.exe]3+5"},
      {L"/c007:a.exe", L"c[a.exe]10+7"},
      // More than an hour is an hour, however many digits.
      {L"/c3601:a.exe", L"c[a.exe]10+3600"},
      {L"/t99999999999999999999999:a.exe", L"t[a.exe]10+3600"},
      // 0 is no grace.
      {L"/c0g:a.exe", L"c[a.exe]10g"},
      // Digits on b and a are a pause, r asks for readiness (on w it is
      // passed over); g counts on b and a only when the start is held.
      {L"/b10:vpn.exe /br:s.exe /cr5:v.exe /tr:h.exe",
       L"b[vpn.exe]10~10 b[s.exe]10r t[h.exe]10r c[v.exe]10+5r"},
      {L"/b5g:a.exe /bg:b.exe /R30Am:c.exe", L"b[a.exe]10~5g b[b.exe]10 a[c.exe]2~30r"},
      {L"/bgr:vpn.exe /arGn:b.exe", L"b[vpn.exe]10rg a[b.exe]1rg"},
      // p follows by name on w, t and c, where it drops g and r (and on b and a, where p
      // itself is passed over); a w item's digits are then the time to appear. h hides.
      {L"/wp120:game.exe /tp:a.exe /c5PGR:b.exe /bp3r:x.exe /apg:y.exe",
       L"b[x.exe]10~3 t[a.exe]10p c[b.exe]10+5p w[game.exe]10p@120 a[y.exe]10"},
      {L"/wpgr99999:g.exe /bh:s.bat /cHx:t.exe /cxh:u.exe",
       L"b[s.bat]0 c[t.exe]0 c[u.exe]3 w[g.exe]10p@3600"},
      {L"/b0r:a.exe /a99999:b.exe /b0:c.exe /w30r:d.exe /ag9:e.exe",
       L"b[a.exe]10r b[c.exe]10 w[d.exe]10 a[b.exe]10~3600 a[e.exe]10~9g"},
      // Digits and g after the colon belong to the program text.
      {L"/c:5g a.exe", L"c[5g a.exe]10"},
      // A digit or g alone is no timing letter: the item is dropped.
      {L"/5g:a.exe", L""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Render(ParseLaunchCommandLine(r.commandLine)), r.plan)
        << testing::PrintToString(std::wstring(r.commandLine));
  }
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

}  // namespace
}  // namespace kelmo
