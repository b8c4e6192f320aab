// Texts that the ANSI code page (932 in these tests) cannot hold: the
// conversion notices them, and the launcher never starts a changed path.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/failure.h"
#include "common/win_text.h"
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

struct SeenBox {
  std::wstring title;
  std::wstring text;
};

// Waits for the launcher to end, pressing OK on every box it shows.
std::vector<SeenBox> RunCollectingBoxes(StartedProcess& launcher) {
  std::vector<SeenBox> seen;
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (GetTickCount64() < deadline) {
    if (WaitForExit(launcher, 20).has_value()) return seen;
    for (HWND window : TopLevelWindows(launcher.id)) {
      wchar_t className[16] = {};
      GetClassNameW(window, className, 16);
      if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) continue;
      seen.push_back({WindowText(window), MessageBoxText(window)});
      PressDialogButton(window, IDOK);
      WaitUntil([&] { return !IsWindow(window); }, 5000);
    }
  }
  ADD_FAILURE() << "launcher did not end";
  KillProcess(launcher.id);
  return seen;
}

// One launch item the code page cannot hold, at each kind of start: the
// start is not made, the report names the place that caught the failure,
// and the run goes on or stops as it does for any failure there.
TEST(AnsiTextWine, LauncherNeverStartsAChangedPathOrArgument) {
  const std::wstring probe = BinDir() + L"\\probe.exe";
  const struct {
    const char* label;
    std::wstring items;
    const wchar_t* place;
    std::vector<std::wstring> started;  // probes that must report
    std::vector<std::wstring> notStarted;
  } rows[] = {
      {"before, program path",
       L"/b:" + BinDir() + L"\\prob\u00E9.exe b /a:" + probe + L" a",
       L"場所:Form_Load",
       {},
       {L"a"}},
      {"waited, argument",
       L"/w:" + probe + L" w\uD55C /a:" + probe + L" a",
       L"場所:frmMain!WaitForProcessToEnd",
       {L"a"},
       {L"w\uD55C"}},
      {"close, argument",
       L"/b:" + probe + L" b /c:" + probe + L" c" + kEmoji + L" /a:" + probe + L" a",
       L"場所:Form_Load",
       {L"b"},
       {L"a"}},
      {"terminate, argument",
       L"/t:" + probe + L" t\u00E9 -stay /a:" + probe + L" a",
       L"場所:frmMain!ExecProcess",
       {L"a"},
       {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    ProbeDir dir;
    StartedProcess launcher = StartLauncher(r.items);
    const std::vector<SeenBox> seen = RunCollectingBoxes(launcher);
    ASSERT_EQ(seen.size(), 1u) << "one report, no other box";
    EXPECT_EQ(seen[0].title, L"エラー - KelmoPro");
    EXPECT_NE(seen[0].text.find(L"エラー番号:5\r\n"), std::wstring::npos) << Narrow(seen[0].text);
    EXPECT_NE(seen[0].text.find(r.place), std::wstring::npos) << Narrow(seen[0].text);
    EXPECT_NE(seen[0].text.find(L"プログラムに渡せません"), std::wstring::npos);
    for (const std::wstring& tag : r.started) WaitForReport(dir, tag);
    // The probes a changed text would have started under any tag.
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW(dir.File(L"*.txt").c_str(), &found);
    std::vector<std::wstring> reports;
    if (search != INVALID_HANDLE_VALUE) {
      do reports.push_back(found.cFileName);
      while (FindNextFileW(search, &found));
      FindClose(search);
    }
    EXPECT_EQ(reports.size(), r.started.size()) << "a start with a changed text was made";
    for (const std::wstring& tag : r.notStarted) EXPECT_FALSE(ReadReport(dir, tag).has_value());
  }
}

TEST(AnsiTextWine, YenSignsInALaunchItemAreBackslashes) {
  ProbeDir dir;
  std::wstring probe = BinDir() + L"\\probe.exe";
  for (wchar_t& c : probe) {
    if (c == L'\\') c = L'\u00A5';
  }
  StartedProcess launcher = StartLauncher(L"/w:" + probe + L" yen \u00A5x");
  for (const SeenBox& box : RunCollectingBoxes(launcher)) ADD_FAILURE() << Narrow(box.text);
  EXPECT_EQ(WaitForReport(dir, L"yen").Text(L"args"), L"yen \\x");
}

}  // namespace
}  // namespace kelmo
