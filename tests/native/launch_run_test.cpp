// The launch run against a recording platform: order of operations across
// phases, slots and handle bookkeeping, and what a failure stops.
#include "launcher/launch_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace kelmo {
namespace {

using testing::ElementsAreArray;

std::wstring Describe(const ExeArgs& program) {
  return program.file + L"|" + (program.parameters ? *program.parameters : L"<none>");
}

// Records every operation as one line of text; hands out fresh handles, and
// can be told which starts give no process and which command lines fail (53
// is the path error, 740 asks for elevation, 7 a std::bad_alloc, any other
// number a Failure). Followed programs live on a fake clock that only the
// waits and pauses move: each runs until its time in `endsAtMs` (by file or
// command line), or for ever, shows its window at its time in `readyAtMs`, or
// never, and is a console program when named in `console`. The session ends
// at `sessionEndsAtMs`; a plain wait lasts until its program's end time.
// `processes` are what the system lists, each from its first to its last
// time, named "#id" once followed; a pause or a wait the run repeats is
// logged once with the count.
// Ending or closing a handle twice, and using a followed program after its
// release, fail the test at once.
class RecordingPlatform : public LaunchPlatform {
 public:
  std::vector<std::wstring> log;
  std::set<std::wstring> noProcess;  // ExecProcess and StartFollowed give null
  std::map<std::wstring, std::int32_t> failing;
  std::set<std::uintptr_t> openHandles;
  std::map<std::wstring, std::uint64_t> endsAtMs;
  std::map<std::wstring, std::uint64_t> readyAtMs;
  std::set<std::wstring> console;
  std::uint64_t sessionEndsAtMs = UINT64_MAX;
  std::uint64_t clockMs = 0;
  struct Process {
    std::uint32_t id;
    std::wstring path;
    std::uint64_t fromMs, untilMs = UINT64_MAX;
  };
  std::vector<Process> processes;
  std::map<std::wstring, std::wstring> environment;

  void InitializeCom() override { log.push_back(L"init-com"); }
  void MoveWindowLeftOfScreen() override { log.push_back(L"move-left"); }
  void ShowWindow() override { log.push_back(L"show"); }
  void MinimizeWindow() override { log.push_back(L"minimize"); }
  void HideWindow() override { log.push_back(L"hide"); }
  void DetachedStart(const ExeArgs& program, int showMode) override {
    log.push_back(L"detached " + Describe(program) + L" " + std::to_wstring(showMode));
  }
  FollowedProgram HeldStart(const ExeArgs& program, int showMode, bool wholeTree) override {
    return StartFollowed(program, showMode, wholeTree, L"held");
  }
  ProcessHandle ExecProcess(const ExeArgs& program, int showMode) override {
    log.push_back(L"exec " + Describe(program) + L" " + std::to_wstring(showMode));
    return noProcess.count(program.file) ? ProcessHandle() : OpenHandle();
  }
  ProcessHandle CommandLineStart(const std::wstring& commandLine, int windowStyle) override {
    log.push_back(L"cmdline " + commandLine + L" " + std::to_wstring(windowStyle));
    ThrowIfFailing(commandLine);
    return OpenHandle();
  }
  void WaitForProcessToEnd(const ExeArgs& program, int showMode) override {
    log.push_back(L"wait " + Describe(program) + L" " + std::to_wstring(showMode));
    const auto end = endsAtMs.find(program.file);
    if (end != endsAtMs.end()) clockMs = std::min(end->second, sessionEndsAtMs);
  }
  void ForcedEnd(ProcessHandle held) override {
    const std::uintptr_t handle = held.release();
    log.push_back(L"end " + std::to_wstring(handle));
    EXPECT_TRUE(openHandles.erase(handle)) << "ending a handle that is not open: " << handle;
  }
  void CloseProcessHandle(std::uintptr_t handle) override {
    log.push_back(L"close-handle " + std::to_wstring(handle));
    EXPECT_TRUE(openHandles.erase(handle)) << "closing a handle that is not open: " << handle;
  }
  void CloseRequest(ProcessHandle held) override {
    const std::uintptr_t handle = held.release();
    log.push_back(L"close " + std::to_wstring(handle));
    EXPECT_TRUE(openHandles.erase(handle))
        << "asking through a handle that is not open: " << handle;
  }
  FollowedProgram StartFollowed(const ExeArgs& program, int showMode, bool wholeTree,
                                std::wstring_view place) override {
    log.push_back(L"follow " + Describe(program) + L" " + std::to_wstring(showMode) +
                  (wholeTree ? L" tree " : L" ") + std::wstring(place));
    if (noProcess.count(program.file)) return FollowedProgram();
    return Follow(program.file);
  }
  FollowedProgram CommandLineStartFollowed(const std::wstring& commandLine, int windowStyle,
                                           bool wholeTree) override {
    log.push_back(L"follow-cmdline " + commandLine + L" " + std::to_wstring(windowStyle) +
                  (wholeTree ? L" tree" : L""));
    ThrowIfFailing(commandLine);
    return Follow(commandLine);
  }
  void CloseFollowed(const FollowedProgram& held) override {
    const std::uintptr_t program = ExpectHeld(held);
    log.push_back(L"close-followed " + std::to_wstring(program));
  }
  void WaitForFollowedToEnd(const FollowedProgram& held) override {
    const std::uintptr_t program = ExpectHeld(held);
    log.push_back(L"wait-followed " + std::to_wstring(program));
  }
  bool FollowedIsRunning(const FollowedProgram& held) override {
    const std::uintptr_t program = ExpectHeld(held);
    return !ended_.count(program) && clockMs < EndsAt(program);
  }
  void WaitForAnyFollowed(const std::vector<const FollowedProgram*>& programs,
                          std::uint32_t timeoutMs) override {
    EXPECT_GT(timeoutMs, 0u) << "a wait that cannot wait spins";
    std::wstring names;
    std::uint64_t wakeAt = std::min(clockMs + timeoutMs, sessionEndsAtMs);
    for (const FollowedProgram* held : programs) {
      const std::uintptr_t program = ExpectHeld(*held);
      names += std::to_wstring(program) + L",";
      wakeAt = std::min(wakeAt, EndsAt(program));
    }
    Repeatable(L"wait-any " + names + L" " + std::to_wstring(timeoutMs));
    clockMs = wakeAt;
  }
  void EndFollowed(const FollowedProgram& held) override {
    const std::uintptr_t program = ExpectHeld(held);
    ended_.insert(program);
    log.push_back(L"end-followed " + std::to_wstring(program) + L" at " + std::to_wstring(clockMs));
  }
  void ReleaseFollowed(std::uintptr_t program) override {
    ExpectHeld(program);
    released_.insert(program);
    log.push_back(L"release " + std::to_wstring(program) + L" at " + std::to_wstring(clockMs));
  }
  bool FollowedShowsWindow(const FollowedProgram& held) override {
    return FollowedIsRunning(held) && clockMs >= ReadyAt(ExpectHeld(held));
  }
  bool FollowedIsConsoleProgram(const FollowedProgram& held) override {
    return console.count(followedNames_.at(ExpectHeld(held))) > 0;
  }
  void WaitForReadiness(const FollowedProgram& held, std::uint32_t timeoutMs) override {
    const std::uintptr_t program = ExpectHeld(held);
    EXPECT_GT(timeoutMs, 0u) << "a wait that cannot wait spins";
    log.push_back(L"wait-ready " + std::to_wstring(program) + L" " + std::to_wstring(timeoutMs));
    clockMs = std::min({clockMs + timeoutMs, ReadyAt(program), EndsAt(program), sessionEndsAtMs});
  }
  void Pause(std::uint32_t timeoutMs) override {
    Repeatable(L"pause " + std::to_wstring(timeoutMs));
    clockMs = std::min(clockMs + timeoutMs, sessionEndsAtMs);
  }
  std::vector<RunningProcess> NewerProcesses() override {
    std::vector<RunningProcess> running;
    for (const Process& p : processes) {
      if (p.fromMs <= clockMs && clockMs < p.untilMs)
        running.push_back({p.id, p.fromMs, p.path, L""});
    }
    return running;
  }
  FollowedProgram FollowProcess(const RunningProcess& process) override {
    log.push_back(L"follow-process " + std::to_wstring(process.id));
    const std::wstring name = L"#" + std::to_wstring(process.id);
    for (const Process& p : processes) {
      if (p.id == process.id) endsAtMs[name] = p.untilMs;
    }
    return Follow(name);
  }
  std::optional<std::wstring> EnvironmentVariable(std::wstring_view name) override {
    const auto it = environment.find(std::wstring(name));
    return it == environment.end() ? std::nullopt : std::optional<std::wstring>(it->second);
  }
  std::wstring LongPathForm(const std::wstring& path) override { return path; }
  bool SessionIsEnding() override { return clockMs >= sessionEndsAtMs; }
  std::uint64_t NowMs() override { return clockMs; }
  void ShowPathErrorMessage() override { log.push_back(L"path-error-box"); }
  void ErrorMsg(std::wstring_view place, const Failure& failure) override {
    log.push_back(L"report " + std::wstring(place) + L" " + std::to_wstring(failure.number()));
  }
  // Only held programs are released, each once (ExpectHeld), so equal counts
  // mean every one was.
  bool EveryFollowedReleased() const { return released_.size() == followedNames_.size(); }

 private:
  void ThrowIfFailing(const std::wstring& commandLine) const {
    const auto it = failing.find(commandLine);
    if (it == failing.end()) return;
    if (it->second == 7) throw std::bad_alloc();
    throw Failure(it->second, L"start failed");
  }
  void Repeatable(const std::wstring& line) {
    if (line == repeated_) {
      log.back() = line + L" x" + std::to_wstring(++repeats_);
      return;
    }
    log.push_back(repeated_ = line);
    repeats_ = 1;
  }
  ProcessHandle OpenHandle() {
    openHandles.insert(nextHandle_);
    return ProcessHandle(*this, nextHandle_++);
  }
  FollowedProgram Follow(const std::wstring& name) {
    const std::uintptr_t program = nextFollowed_++;
    followedNames_[program] = name;
    return FollowedProgram(*this, program);
  }
  std::uint64_t EndsAt(std::uintptr_t program) const { return TimeOf(endsAtMs, program); }
  std::uint64_t ReadyAt(std::uintptr_t program) const { return TimeOf(readyAtMs, program); }
  std::uint64_t TimeOf(const std::map<std::wstring, std::uint64_t>& times,
                       std::uintptr_t program) const {
    const auto it = times.find(followedNames_.at(program));
    return it == times.end() ? UINT64_MAX : it->second;
  }
  std::uintptr_t ExpectHeld(std::uintptr_t program) const {
    EXPECT_TRUE(followedNames_.count(program)) << "never started: " << program;
    EXPECT_FALSE(released_.count(program)) << "used after its release: " << program;
    return program;
  }
  std::uintptr_t ExpectHeld(const FollowedProgram& held) const { return ExpectHeld(held.get()); }

  std::map<std::uintptr_t, std::wstring> followedNames_;
  std::set<std::uintptr_t> ended_;
  std::set<std::uintptr_t> released_;
  std::uintptr_t nextFollowed_ = 900;
  std::uintptr_t nextHandle_ = 100;
  std::wstring repeated_;
  int repeats_ = 0;
};

// COM comes first: the shell may need it for any start.
const std::vector<std::wstring> kSetUp = {L"init-com", L"move-left", L"show", L"minimize", L"hide"};

// Graces run side by side from their own requests; the after phase starts
// only when the last graced companion is gone. A terminate entry with a
// grace is asked to close like a close entry, before the close entries. g
// alone changes how a program is held, not when anything happens: a tree
// without a grace is ended at once, a close entry's tree is asked to close
// and let go, and the wait lasts until the waited tree has ended.
TEST(LaunchRun, OperationsOfWholeRuns) {
  constexpr auto kBlank = RunOutcome::kBlankCommandLine;
  constexpr auto kDone = RunOutcome::kCompleted;
  const struct {
    const char* name;
    const wchar_t* commandLine;
    RunOutcome outcome;
    std::vector<std::wstring> log;  // after the window set-up
    std::set<std::wstring> noProcess = {};
    std::map<std::wstring, std::int32_t> failing = {};
    std::map<std::wstring, std::uint64_t> endsAtMs = {};
    std::map<std::wstring, std::uint64_t> readyAtMs = {};
    std::set<std::wstring> console = {};
    std::uint64_t sessionEndsAtMs = UINT64_MAX;
    std::vector<RecordingPlatform::Process> processes = {};
  } rows[] = {
      // clang-format off
      {"blank", L"    ", kBlank, {}},
      {"all phases in order",
       L" /a:after1.exe x /t:term1.exe /b:before1.exe /c:close1.exe -q /ti:term2.exe a/b "
       L"/wx:waited.exe arg /ci:close2.exe /bm:before2.exe /an:after2.exe /w:ignored.exe", kDone,
       {L"detached before1.exe|<none> 10", L"detached before2.exe|<none> 2",
        L"exec term1.exe|<none> 10", L"exec term2.exe a|/b 7", L"cmdline close1.exe -q 1",
        L"cmdline close2.exe 6", L"wait waited.exe|arg 3", L"end 100", L"end 101", L"close 102",
        L"close 103", L"detached after1.exe|x 10", L"detached after2.exe|<none> 1"}},
      {"command-line styles from show modes", L"/cd:a /ci:b /cm:c /cn:d /co:e /cx:f /c:g", kDone,
       {L"cmdline a 1", L"cmdline b 6", L"cmdline c 2", L"cmdline d 1", L"cmdline e 4",
        L"cmdline f 3", L"cmdline g 1", L"close 100", L"close 101", L"close 102", L"close 103",
        L"close 104", L"close 105", L"close 106"}},
      {"empty entries and null slots skipped",
       L"/b: /t: /t:gone.exe /t:ok.exe /c: /c:c.exe /w: /a:", kDone, {L"exec gone.exe|<none> 10", L"exec ok.exe|<none> 10", L"cmdline c.exe 1",
               L"end 100", L"close 101"}, {L"gone.exe"}},
      {"companions end at once without a waited entry", L"/t:t.exe /c:c.exe /a:a.exe", kDone,
       {L"exec t.exe|<none> 10", L"cmdline c.exe 1", L"end 100", L"close 101",
        L"detached a.exe|<none> 10"}},
      {"only the first waited entry counts", L"/w: /wx:later.exe /a:a.exe", kDone,
       {L"detached a.exe|<none> 10"}},
      // The companions keep running: what the run held is let go of unended.
      {"path error stops everything after it",
       L"/b:b.exe /t:t1.exe /c:c1.exe /c:missing.exe -x /c:c3.exe /t:t2.exe /w:w.exe /a:a.exe",
       RunOutcome::kPathError,
       {L"detached b.exe|<none> 10", L"exec t1.exe|<none> 10", L"exec t2.exe|<none> 10",
        L"cmdline c1.exe 1", L"cmdline missing.exe -x 1", L"close-handle 102",
        L"close-handle 100", L"close-handle 101", L"path-error-box"},
       {}, {{L"missing.exe -x", kPathError}}},
      {"other failures reported as Form_Load", L"/c:bad.exe /a:a.exe", RunOutcome::kFailed,
       {L"cmdline bad.exe 1", L"report Form_Load 193"}, {}, {{L"bad.exe", 193}}},
      {"out of memory reported as 7", L"/c:big.exe /a:a.exe", RunOutcome::kFailed,
       {L"cmdline big.exe 1", L"report Form_Load 7"}, {}, {{L"big.exe", 7}}},
      {"graces side by side, the after phase waits for the last",
       L"/t5:t.exe /c3:c.exe -q /c:plain.exe /w:w.exe /a:a.exe", kDone,
       {L"follow t.exe|<none> 10 frmMain!ExecProcess", L"follow-cmdline c.exe -q 1",
        L"cmdline plain.exe 1", L"wait w.exe|<none> 10", L"close-followed 900", L"close-followed 901", L"close 100",
        L"wait-any 900,901, 3000", L"end-followed 901 at 3000", L"release 901 at 3000",
        L"wait-any 900, 2000", L"end-followed 900 at 5000", L"release 900 at 5000",
        L"detached a.exe|<none> 10"}},
      {"companions that close in time are not ended", L"/tg10:t.exe /c5x:c.exe /a:a.exe", kDone,
       {L"follow t.exe|<none> 10 tree frmMain!ExecProcess", L"follow-cmdline c.exe 3",
        L"close-followed 900", L"close-followed 901", L"wait-any 900,901, 5000", L"release 901 at 1200",
        L"wait-any 900, 8800", L"release 900 at 7000", L"detached a.exe|<none> 10"},
       {}, {}, {{L"c.exe", 1200}, {L"t.exe", 7000}}},
      {"trees without a grace keep the plain order",
       L"/tg:t.exe /cgx:c.exe /wg:w.exe /t:plain.exe /a:a.exe", kDone,
       {L"follow t.exe|<none> 10 tree frmMain!ExecProcess", L"exec plain.exe|<none> 10",
        L"follow-cmdline c.exe 3 tree", L"follow w.exe|<none> 10 tree frmMain!WaitForProcessToEnd",
        L"wait-followed 902", L"release 902 at 0", L"end-followed 900 at 0", L"release 900 at 0",
        L"end 100", L"close-followed 901", L"release 901 at 0", L"detached a.exe|<none> 10"}},
      {"followed starts without a process skipped", L"/t5:gone.exe /c5: /wg:gone.exe /a:a.exe",
       kDone, {L"follow gone.exe|<none> 10 frmMain!ExecProcess",
               L"follow gone.exe|<none> 10 tree frmMain!WaitForProcessToEnd",
               L"detached a.exe|<none> 10"}, {L"gone.exe"}},
      {"path error of a followed close entry stops the run",
       L"/t5:t.exe /c5:missing.exe /w:w.exe /a:a.exe", RunOutcome::kPathError,
       {L"follow t.exe|<none> 10 frmMain!ExecProcess", L"follow-cmdline missing.exe 1",
        L"release 900 at 0", L"path-error-box"}, {}, {{L"missing.exe", kPathError}}},
      // A pause holds back the next start for its length, readiness until a window or the end,
      // at most the item's seconds or 60 s; held programs are let go of, never ended, and a
      // ready close entry holds back the next close start and the wait, nothing before.
      {"pauses and readiness in the before and after lists",
       L"/b2:p.exe /br:slow.exe /bg5r:vpn.exe /b:x.exe /ar:gone.exe /ar:ends.exe /a3r:late.exe",
       kDone,
       {L"follow p.exe|<none> 10 held", L"pause 2000", L"release 900 at 2000",
        L"follow slow.exe|<none> 10 held", L"wait-ready 901 60000", L"release 901 at 62000",
        L"follow vpn.exe|<none> 10 tree held", L"wait-ready 902 5000", L"release 902 at 63500",
        L"detached x.exe|<none> 10", L"follow gone.exe|<none> 10 held",
        L"follow ends.exe|<none> 10 held", L"wait-ready 903 60000", L"release 903 at 63600",
        L"follow late.exe|<none> 10 held", L"wait-ready 904 3000", L"release 904 at 66600"},
       {L"gone.exe"}, {}, {{L"ends.exe", 63600}}, {{L"vpn.exe", 63500}}},
      {"a ready companion holds back the next start of its list and the wait",
       L"/b:b.exe /tr:t.exe /cr5:c.exe /c:c2.exe /w:w.exe /a:a.exe", kDone,
       {L"detached b.exe|<none> 10", L"follow t.exe|<none> 10 frmMain!ExecProcess",
        L"wait-ready 900 60000", L"follow-cmdline c.exe 1", L"wait-ready 901 60000",
        L"cmdline c2.exe 1", L"wait w.exe|<none> 10", L"end-followed 900 at 60300",
        L"release 900 at 60300", L"close-followed 901", L"close 100", L"wait-any 901, 5000",
        L"end-followed 901 at 65300", L"release 901 at 65300", L"detached a.exe|<none> 10"},
       {}, {}, {}, {{L"t.exe", 300}, {L"c.exe", 60300}}},
      // A program that asks for administrator rights is started through the shell with its
      // show mode and held as a terminate entry is; declined, it is passed over unreported.
      {"close entries that ask for elevation",
       L"/ci:admin.exe -x /c3:admin2.exe /c:declined.exe /w:w.exe /a:a.exe", kDone,
       {L"cmdline admin.exe -x 6", L"exec admin.exe|-x 7", L"follow-cmdline admin2.exe 1",
        L"follow admin2.exe|<none> 10 frmMain!ExecProcess", L"cmdline declined.exe 1",
        L"exec declined.exe|<none> 10", L"wait w.exe|<none> 10", L"close 100",
        L"close-followed 900", L"wait-any 900, 3000", L"end-followed 900 at 3000",
        L"release 900 at 3000", L"detached a.exe|<none> 10"},
       {L"declined.exe"}, {{L"admin.exe -x", 740}, {L"admin2.exe", 740}, {L"declined.exe", 740}}},
      // Once the session ends nothing more is started, held back or ended: what is held is
      // let go of for Windows to end. A console program is ready once it has started.
      {"the session ends during the wait", L"/br:tool.exe /t:t.exe /c5:c.exe /w:w.exe /a:a.exe",
       kDone, {L"follow tool.exe|<none> 10 held", L"release 900 at 0", L"exec t.exe|<none> 10",
        L"follow-cmdline c.exe 1", L"wait w.exe|<none> 10", L"release 901 at 1000",
        L"close-handle 100"}, {}, {}, {{L"w.exe", 9000}}, {}, {L"tool.exe"}, 1000},
      {"the session ends during a hold", L"/br:slow.exe /b:x.exe /t:t.exe /w:w.exe", kDone,
       {L"follow slow.exe|<none> 10 held", L"wait-ready 900 60000", L"release 900 at 500"},
       {}, {}, {}, {}, {}, 500},
      {"the session ends during a grace", L"/c5:c.exe /a:a.exe", kDone,
       {L"follow-cmdline c.exe 1", L"close-followed 900", L"wait-any 900, 5000",
        L"release 900 at 2000"}, {}, {}, {}, {}, {}, 2000},
      // A p item starts nothing. The waited one looks for its program every 100 ms until it
      // appears, then follows it and, read every second and once more at its end, a copy
      // that starts before it ends; the companions follow at once after that.
      {"a waited program followed by name, through a restart",
       L"/c:c.exe /wp:game.exe /a:a.exe", kDone,
       {L"cmdline c.exe 1", L"pause 100 x20", L"follow-process 7", L"wait-any 900, 1000 x3",
        L"release 900 at 4600", L"follow-process 8", L"wait-any 901, 1000 x5",
        L"release 901 at 9000", L"close 100", L"detached a.exe|<none> 10"},
       {}, {}, {}, {}, {}, UINT64_MAX,
       {{9, L"C:\\Tools\\other.exe", 0}, {7, L"C:\\Games\\game.exe", 2000, 4600},
        {8, L"D:\\GAME.EXE", 4500, 9000}}},
      // Nothing appears in time: the run goes on as after a start that gave no process. A
      // companion named by name is ended, or asked to close with its grace, at its turn: all
      // that match then.
      {"a waited name that never appears; companions by name",
       L"/tp:helper.exe /c3p:%GAMES%\\ /wp2:late.exe /a:a.exe", kDone,
       {L"pause 100 x20", L"follow-process 11", L"end-followed 900 at 2000",
        L"release 900 at 2000", L"follow-process 3", L"follow-process 4", L"close-followed 901",
        L"close-followed 902", L"wait-any 901,902, 3000", L"release 902 at 2500",
        L"wait-any 901, 2500", L"end-followed 901 at 5000", L"release 901 at 5000",
        L"detached a.exe|<none> 10"},
       {}, {}, {}, {}, {}, UINT64_MAX,
       {{11, L"C:\\helper.exe", 0}, {3, L"C:\\Games\\a\\x.exe", 0},
        {4, L"C:\\Games\\y.exe", 1000, 2500}, {5, L"C:\\Other\\z.exe", 0},
        {6, L"C:\\late.exe", 2500}}},
      // clang-format on
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    RecordingPlatform platform;
    platform.noProcess = r.noProcess;
    platform.failing = r.failing;
    platform.endsAtMs = r.endsAtMs;
    platform.readyAtMs = r.readyAtMs;
    platform.console = r.console;
    platform.sessionEndsAtMs = r.sessionEndsAtMs;
    platform.processes = r.processes;
    platform.environment = {{L"GAMES", L"C:\\Games"}};
    EXPECT_EQ(RunLaunch(r.commandLine, platform), r.outcome);
    std::vector<std::wstring> want = r.log;
    if (r.outcome != kBlank) want.insert(want.begin(), kSetUp.begin(), kSetUp.end());
    EXPECT_THAT(platform.log, ElementsAreArray(want));
    EXPECT_TRUE(platform.openHandles.empty());
    EXPECT_TRUE(platform.EveryFollowedReleased());
  }
}

TEST(LaunchRun, ManyCompanionsEachEndedOnce) {
  RecordingPlatform platform;
  std::wstring line;
  std::vector<std::wstring> want = kSetUp;
  for (int i = 0; i < 300; ++i) {
    line += L" /t:t" + std::to_wstring(i) + L".exe";
    want.insert(want.begin() + kSetUp.size() + i,
                L"exec t" + std::to_wstring(i) + L".exe|<none> 10");
    want.push_back(L"end " + std::to_wstring(100 + i));
  }
  RunLaunch(line, platform);
  EXPECT_THAT(platform.log, ElementsAreArray(want));
}

}  // namespace
}  // namespace kelmo
