// Texts that the ANSI code page (932 in these tests) cannot hold: the
// conversion notices them, and the launcher never starts a changed path.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/failure.h"
#include "common/win/win_text.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

const std::wstring kEmoji = L"\U0001F600";

TEST(AnsiTextWine, ExactConversionRefusesWhatCodePage932CannotHold) {
  ASSERT_EQ(GetACP(), 932u) << "the tests run under the Japanese code page";
  const struct {
    std::wstring text;
    bool held;
  } rows[] = {
      {L"C:\\tools\\a.exe -x ~", true},
      {L"メモ帳 漢字 ｶﾅ", true},
      {L"C:\u00A5tools\u00A5a.exe", true},  // the yen sign is the backslash's byte
      {L"caf\u00E9", false},
      {L"\uD55C", false},  // 한
      {kEmoji, false},
      {L"\u301C", false},  // wave dash: comes back as the full-width tilde
      {L"\u2212", false},  // minus sign: comes back as the full-width hyphen-minus
      {L"?", true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(Narrow(r.text));
    EXPECT_EQ(ToAnsiExact(r.text).has_value(), r.held);
    if (!r.held) {
      try {
        ToAnsiForProgram(r.text);
        ADD_FAILURE() << "no failure";
      } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), kTextNotInCodePage);
        EXPECT_NE(failure.description().find(r.text), std::wstring::npos);
        EXPECT_NE(failure.description().find(L"プログラムに渡せません"), std::wstring::npos);
      }
    }
  }
  EXPECT_EQ(ToAnsiExact(L"C:\u00A5a"), std::string("C:\\a"));
  // Windows writes the overline with the tilde's byte, Wine 8 with the
  // default character: it passes exactly where it arrives as a tilde.
  EXPECT_EQ(ToAnsiExact(L"\u203E").has_value(), ToAnsi(L"\u203E") == "~");
  EXPECT_FALSE(ToAnsiExact(L"C:\u00A5a", LookAlikes::Refused).has_value());
}

// One launch item the code page cannot hold, at each kind of start: the
// start is not made, the report names the place that caught the failure,
// and the run goes on or stops as it does for any failure there. Each
// changed text is one the code page turns into letters ("é" becomes "e"),
// and a copy of the probe has the program name it would become, so a start
// with the converted text would report under a tag of its own.
TEST(AnsiTextWine, LauncherNeverStartsAChangedPathOrArgument) {
  const std::wstring probe = BinDir() + L"\\probe.exe ";
  const ProbeDir copies;
  CopyProbeAs(copies, FromAnsi(ToAnsi(L"prob\u00E9.exe")));
  const struct {
    const char* label;
    std::wstring items;
    const wchar_t* place;
    std::vector<std::wstring> started;  // every probe that reports
  } rows[] = {
      {"before, program path",
       L"/b:" + copies.File(L"prob\u00E9.exe") + L" b /a:" + probe + L"a",
       L"場所:Form_Load",
       {}},
      {"waited, argument",
       L"/w:" + probe + L"w\u00FC /a:" + probe + L"a",
       L"場所:frmMain!WaitForProcessToEnd",
       {L"a"}},
      {"close, argument",
       L"/b:" + probe + L"b /c:" + probe + L"c\u00E0 /a:" + probe + L"a",
       L"場所:Form_Load",
       {L"b"}},
      {"terminate, argument",
       L"/t:" + probe + L"t\u00E9 -stay /a:" + probe + L"a",
       L"場所:frmMain!ExecProcess",
       {L"a"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    ProbeDir dir;
    StartedProcess launcher = StartLauncherInJob(r.items);
    const std::vector<SeenDialog> seen = DismissBoxesUntilExit(launcher);
    EXPECT_EQ(WaitForJobToEmpty(launcher), std::optional<DWORD>(1 + r.started.size()))
        << "a start with a changed text was made";
    for (const std::wstring& tag : r.started) EXPECT_TRUE(ReadReport(dir, tag)) << Narrow(tag);
    EXPECT_EQ(seen.size(), 1u) << "one report, no other box";
    if (seen.size() != 1u) continue;
    EXPECT_EQ(seen[0].title, kLauncherErrorTitle);
    EXPECT_NE(seen[0].text.find(L"エラー番号:5\r\n"), std::wstring::npos) << Narrow(seen[0].text);
    EXPECT_NE(seen[0].text.find(r.place), std::wstring::npos) << Narrow(seen[0].text);
    EXPECT_NE(seen[0].text.find(L"プログラムに渡せません"), std::wstring::npos);
  }
}

}  // namespace
}  // namespace kelmo
