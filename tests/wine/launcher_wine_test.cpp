// kelmoPro.exe run for real under Wine with probe programs as the group.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/error_report.h"
#include "common/win/win_text.h"
#include "launcher/win/launch_platform.h"
#include "launcher/win/launcher_window.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/launcher_fixture.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

// Every show letter; the first item goes without its slash and has a quoted
// path with a space and Japanese arguments; yen signs in an item are
// backslashes.
TEST_F(LauncherWine, BeforeListInOrderAndAfterListAfterTheWait) {
  const std::wstring folder = dir_.File(L"with space");
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\probe copy.exe";
  ASSERT_TRUE(CopyFileW((BinDir() + L"\\probe.exe").c_str(), copy.c_str(), FALSE));
  std::wstring yenProbe = Probe(L"m") + L" \\x";
  std::replace(yenProbe.begin(), yenProbe.end(), L'\\', L'\u00A5');
  RunToEnd(L"bn:\"" + copy + L"\" q 日本語 /bm:" + yenProbe + L" /bd:" + Probe(L"d") + L" /bi:" +
           Probe(L"i") + L" /bo:" + Probe(L"o") + L" /bx:" + Probe(L"x") + L" /wx:" +
           Probe(L"w", L"-exit 500") + L" /an:" + Probe(L"a"));
  const std::pair<const wchar_t*, int> inOrder[] = {{L"q", 1}, {L"m", 2}, {L"d", 10}, {L"i", 7},
                                                    {L"o", 4}, {L"x", 3}, {L"w", 3}};
  const ProbeReport w = Report(L"w", L"exited"), a = Report(L"a");
  long long previous = 0;
  for (const auto& [tag, show] : inOrder) {
    const ProbeReport report = Report(tag);
    EXPECT_EQ(report.Number(L"show"), show) << Narrow(tag);
    EXPECT_LE(previous, report.Number(L"created")) << Narrow(tag) << " started out of order";
    previous = report.Number(L"created");
  }
  EXPECT_EQ(Report(L"q").Text(L"args"), L"q 日本語");
  EXPECT_EQ(w.Text(L"args"), L"w -exit 500");
  EXPECT_EQ(Report(L"m").Text(L"args"), L"m \\x");
  EXPECT_EQ(a.Number(L"show"), 1);
  EXPECT_GE(a.Number(L"created"), w.Number(L"exited"))
      << "after program started before the wait ended";
  WaitUntil([&] { return DeleteFileW(copy.c_str()) != 0; }, 5000);
}

TEST_F(LauncherWine, FirstWaitedItemWinsAndTheOtherIsDropped) {
  const long long ended = RunReleasingAfter(
      L"/wb:" + WaitedUntilReleased(L"a") + L" /w:" + Probe(L"b"), {L"a"}, L"pid");
  const ProbeReport a = Report(L"a", L"exited");
  EXPECT_GE(ended, a.Number(L"exited")) << "launcher did not wait for a";
  EXPECT_EQ(a.Number(L"show"), 10);
  EXPECT_FALSE(Started(L"b"));
}

// Whether `id` passes to a thread of this process while it starts and ends
// 3000 threads. Wine hands a freed id out again after about a thousand
// others (a process's id a moment after its end), so an id that stays free
// comes back well within them.
DWORD WINAPI EndAtOnce(LPVOID) { return 0; }
bool IdPassesToAThread(DWORD id) {
  for (int i = 0; i < 3000; ++i) {
    DWORD threadId = 0;
    const UniqueHandle thread(CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, &threadId));
    WaitForSingleObject(thread.get(), INFINITE);
    if (threadId == id) return true;
  }
  return false;
}

// A close request reaches a visible window past a hidden one, and a process
// with only a hidden window. A companion that ends at once keeps its id
// while the launcher waits, so its request hours later can reach no other
// program that took the id.
TEST_F(LauncherWine, CloseListGetsMappedStylesAndWmClose) {
  const StartedProcess launcher =
      StartLauncher(L"/ci:" + Probe(L"i", L"-window") + L" /c:" + Probe(L"d", L"-window") +
                    L" /cx:" + Probe(L"x", L"-window") + L" /c:" +
                    Probe(L"h", L"-window -hiddenfirst") + L" /c:" + Probe(L"o", L"-hiddenonly") +
                    L" /c:" + Probe(L"early") + L" /w:" + WaitedUntilReleased(L"w"));
  for (const wchar_t* tag : {L"i", L"d", L"x", L"h", L"o"}) Report(tag, L"windows");
  const DWORD early = static_cast<DWORD>(Report(L"early", L"exited").Number(L"pid"));
  WaitForExit(WatchProcess(early));  // gone, though the launcher may hold it
  EXPECT_FALSE(IdPassesToAThread(early)) << "the launcher let an ended companion's id go";
  Release();
  ExpectLauncherEnds(launcher);
  EXPECT_EQ(Report(L"i").Number(L"show"), 6);
  EXPECT_EQ(Report(L"d").Number(L"show"), 1);
  EXPECT_EQ(Report(L"x").Number(L"show"), 3);
  for (const wchar_t* tag : {L"i", L"d", L"x", L"h", L"o"}) {
    const ProbeReport closed = Report(tag, L"closedvisible");
    EXPECT_GE(closed.Number(L"closed"), Report(L"w", L"exited").Number(L"exited")) << Narrow(tag);
    EXPECT_EQ(closed.Number(L"closedvisible"), std::wstring(tag) == L"o" ? 0 : 1) << Narrow(tag);
  }
}

// A terminate item after the waited one in the text is started before the
// wait all the same. While the launcher waits its window is out of sight.
TEST_F(LauncherWine, TerminateCompanionIsEndedWithExitCodeZeroAfterTheWait) {
  StartedProcess launcher =
      StartLauncher(L"/w:" + WaitedUntilReleased(L"w") + L" /t:" + Probe(L"t", L"-stay"));
  const StartedProcess companion = Watch(L"t");
  ASSERT_TRUE(companion.process);
  Report(L"w");
  const HWND form = LauncherForm(launcher);
  ASSERT_NE(form, nullptr) << "frmMain not found";
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_TRUE(IsIconic(form));
  // Wine answers GetWindowPlacement of another process's window with its
  // current (icon) rectangle; the placement itself is checked in-process by
  // LauncherWindowWine.SetUpPutsTheWindowLeftOfTheScreen.
  Release();
  ASSERT_TRUE(WaitForExit(launcher).has_value());
  // A probe that ends by itself exits with 3; the forced end uses 0.
  EXPECT_EQ(WaitForExit(companion), std::optional<DWORD>(0));
  EXPECT_GE(ExitTime(companion), Report(L"w", L"exited").Number(L"exited"))
      << "ended before the waited program";
}

// While the run waits, the launcher's window answers what other programs
// send it. When Windows ends the session, the launcher does not hold the end
// up and stops: the waited program still runs, the companion is left to
// Windows and no after program starts.
TEST_F(LauncherWine, WaitsAnswerSentMessagesAndTheSessionsEndStopsTheRun) {
  const StartedProcess launcher = StartLauncher(L"/t:" + Probe(L"t", UntilReleased()) + L" /w:" +
                                                WaitedUntilReleased(L"w") + L" /a:" + Probe(L"a"));
  const StartedProcess t = Watch(L"t"), w = Watch(L"w");
  const HWND form = LauncherForm(launcher);
  EXPECT_TRUE(Answers(form)) << "in a plain wait";
  DWORD_PTR mayEnd = 0;
  EXPECT_TRUE(Answers(form, WM_QUERYENDSESSION, 0, &mayEnd) && mayEnd == TRUE);
  EXPECT_TRUE(Answers(form, WM_ENDSESSION, TRUE));
  ExpectLauncherEnds(launcher);
  EXPECT_FALSE(Started(L"a")) << "an after program while the session ends";
  for (const auto* left : {&t, &w}) EXPECT_FALSE(WaitForExit(*left, 0).has_value());
  Release();
}

// Without a waited entry the companions are ended at once. A terminate item
// the code page cannot hold is reported and passed over; its report holds
// the run until the companion before it has started.
TEST_F(LauncherWine, CompanionsEndAtOnceWithoutWaitedEntry) {
  StartedProcess launcher = StartLauncher(L"/t:" + Probe(L"t", L"-stay") + L" /t:" +
                                          Probe(L"t\u00E9") + L" /a:" + Probe(L"a"));
  StartedProcess companion;
  DialogAnswerer boxes(launcher.id, {WatchThenOk(companion, L"t")});
  ASSERT_TRUE(WaitForExit(launcher).has_value());
  const std::vector<SeenDialog> seen = boxes.Finish();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].closed);
  EXPECT_NE(seen[0].text.find(L"frmMain!ExecProcess"), std::wstring::npos) << Narrow(seen[0].text);
  EXPECT_EQ(WaitForExit(companion), std::optional<DWORD>(0)) << "terminate companion not ended";
  Report(L"a");
}

// A close item that cannot be started stops the run before the wait with one
// box: the path error for a missing program; for a document, which
// CreateProcess refuses, the error report of the start-up procedure. What was
// started until then keeps running, and nothing after it is started.
TEST_F(LauncherWine, CloseItemThatCannotBeStartedStopsTheRun) {
  const std::wstring document = dir_.File(L"notes.txt");
  CreateReleaseFile(document);
  const Maintainer maintainer = ProjectMaintainer();
  const struct {
    std::wstring item, title, text;
  } rows[] = {
      {L"Z:\\no\\such\\program.exe -x", L"Kelmo Pro",
       L"パス指定を一部間違っている可能性があります。"},
      {document, kLauncherErrorTitle,
       L"エラー番号:193\r\n"
       L"場所:Form_LoadKelmoPro1.04.2485\r\n"
       L"プログラムを起動できませんでした。\r\n"
       L"上記の説明と、エラーの発生したときの簡単な状況を書いて、\r\n\"" +
           FromAnsi(ToAnsi(maintainer.name)) + L"\" <" + std::wstring(maintainer.email) +
           L"> まで連絡してください。"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(Narrow(r.title));
    const std::wstring n = r.item == document ? L"d" : L"p";
    StartedProcess launcher = StartLauncherInJob(
        L"/b:" + Probe(L"b" + n) + L" /t:" + Probe(L"t" + n, L"-stay") + L" /c:" + r.item +
        L" /c:" + Probe(L"c" + n) + L" /w:" + Probe(L"w" + n) + L" /a:" + Probe(L"a" + n));
    const std::vector<SeenDialog> seen = DismissBoxesUntilExit(launcher);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, r.title);
    EXPECT_EQ(seen[0].text, r.text);
    EXPECT_TRUE(seen[0].okOnly && seen[0].topmost) << "a system-modal box with OK alone";
    Report(L"b" + n);
    const StartedProcess held = Watch(L"t" + n);
    EXPECT_FALSE(WaitForExit(held, 0).has_value()) << "held companions keep running";
    KillProcess(held.id);
    EXPECT_EQ(WaitForJobToEmpty(launcher), std::optional<DWORD>(3)) << "started past the failure";
  }
}

// Programs that cannot be started are passed over; a waited one gives no
// wait, so the companions are ended at once and the after phase follows.
// The shell shows its own box for the waited program (the detached starts
// ask for none), never one of the launcher's, and the same box with g, where
// the launcher's copy makes the shell call; that box holds the run until the
// companion has started.
TEST_F(LauncherWine, UnstartableBeforeWaitedAndAfterProgramsAreSkipped) {
  std::vector<SeenDialog> firstSeen;
  for (const std::wstring waited : {L"/w:", L"/wg:"}) {
    SCOPED_TRACE(Narrow(waited));
    const std::wstring n = waited == L"/w:" ? L"" : L"g";
    StartedProcess launcher = StartLauncher(
        L"/b:Z:\\no\\such\\before.exe /b:" + Probe(L"b" + n) + L" /t:" + Probe(L"t" + n, L"-stay") +
        L" " + waited + L"Z:\\no\\such\\waited.exe -x /a:Z:\\no\\such\\after.exe /a:" +
        Probe(L"a" + n));
    StartedProcess companion;
    DialogAnswerer boxes(0, {WatchThenOk(companion, L"t" + n)});
    ASSERT_TRUE(WaitForExit(launcher).has_value()) << "nothing was released, yet the run must end";
    const std::vector<SeenDialog> seen = boxes.Finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].closed);
    EXPECT_NE(seen[0].title, L"Kelmo Pro") << Narrow(seen[0].text);
    EXPECT_NE(seen[0].title, kLauncherErrorTitle) << Narrow(seen[0].text);
    if (firstSeen.empty()) firstSeen = seen;
    EXPECT_EQ(seen[0].title + L"|" + seen[0].text, firstSeen[0].title + L"|" + firstSeen[0].text);
    Report(L"b" + n);
    Report(L"a" + n);
    EXPECT_EQ(WaitForExit(companion), std::optional<DWORD>(0)) << "terminate companion not ended";
  }
}

std::vector<HWND> g_windowsMade;
void CALLBACK NoteWindowMade(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (object == OBJID_WINDOW) g_windowsMade.push_back(window);
}

// Runs the launcher to its end; gives how many windows it made, seen
// through a window event hook on its process set before its first
// instruction, or nullopt when it did not end with 0.
std::optional<std::size_t> WindowsMadeByLauncher(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + BinDir() + L"\\kelmoPro.exe\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION created = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &created)) {
    return std::nullopt;
  }
  StartedProcess launcher{UniqueHandle(created.hProcess), created.dwProcessId, UniqueHandle()};
  const UniqueHandle thread(created.hThread);
  g_windowsMade.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr,
                                       NoteWindowMade, launcher.id, 0, WINEVENT_OUTOFCONTEXT);
  ResumeThread(thread.get());
  HANDLE process = launcher.process.get();
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  } while (MsgWaitForMultipleObjects(1, &process, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1);
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  UnhookWinEvent(hook);
  if (WaitForExit(launcher, 0) != std::optional<DWORD>(0)) return std::nullopt;
  return g_windowsMade.size();
}

// A blank command line ends the launcher before it makes any window; a
// command line with nothing in it to start makes and sets up its window,
// and both end with 0.
TEST_F(LauncherWine, BlankCommandLineEndsBeforeAnyWindowExists) {
  EXPECT_EQ(WindowsMadeByLauncher(L"     "), std::optional<std::size_t>(0));
  const std::optional<std::size_t> emptyPlan = WindowsMadeByLauncher(L"/z:nothing");
  ASSERT_TRUE(emptyPlan.has_value()) << "an empty plan must end with 0";
  EXPECT_GT(*emptyPlan, 0u) << "no window seen: the check above could not fail";
}

// A process reads the screen DPI when it starts, so the test runs itself
// again in a child at each DPI that has a hand-worked size.
TEST(LauncherWindowWine, SetUpPutsTheWindowLeftOfTheScreen) {
  wchar_t given[8] = {};
  if (GetEnvironmentVariableW(L"KELMO_TEST_DPI", given, 8) == 0) {
    for (const wchar_t* dpi : {L"96", L"120"}) {
      const ScopedScreenDpi screenDpi(std::wcstoul(dpi, nullptr, 10));
      SetEnvironmentVariableW(L"KELMO_TEST_DPI", dpi);
      wchar_t self[MAX_PATH] = {};
      GetModuleFileNameW(nullptr, self, MAX_PATH);
      const StartedProcess child = StartProgram(self, L"--gtest_filter=LauncherWindowWine.*");
      EXPECT_EQ(WaitForExit(child), std::optional<DWORD>(0)) << Narrow(dpi) << " dpi";
    }
    SetEnvironmentVariableW(L"KELMO_TEST_DPI", nullptr);
    return;
  }
  const bool at96 = std::wstring(given) == L"96";
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), at96 ? 96 : 120);
  ReleaseDC(nullptr, screen);
  HWND form = CreateLauncherWindow(GetModuleHandleW(nullptr));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), L"Form1");
  EXPECT_FALSE(IsWindowVisible(form)) << "created hidden";
  // 3744 x 2532 twips: 249.6 x 168.8 pixels at 96 dpi, 312 x 211 at 120.
  RECT client = {};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, at96 ? 250 : 312);
  EXPECT_EQ(client.bottom, at96 ? 169 : 211);

  Win32LaunchPlatform platform(form);
  platform.MoveWindowLeftOfScreen();
  RECT moved = {};
  GetWindowRect(form, &moved);
  EXPECT_EQ(moved.right, 0) << "left edge at minus the window's width";
  platform.ShowWindow();
  platform.MinimizeWindow();
  platform.HideWindow();
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(form, &placement);
  EXPECT_TRUE(IsIconic(form));
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(placement.rcNormalPosition.right, 0);
  EXPECT_EQ(placement.rcNormalPosition.left, moved.left);
  DestroyWindow(form);
}

}  // namespace
}  // namespace kelmo
