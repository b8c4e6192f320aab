// The launch run against a recording platform: order of operations across
// phases, slots and handle bookkeeping, and what a failure stops.
#include "launcher/launch_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelmo {
namespace {

using testing::ElementsAreArray;

std::wstring Describe(const ExeArgs& program) {
  return program.file + L"|" + (program.parameters ? *program.parameters : L"<none>");
}

// Records every operation as one line of text; hands out fresh handles and
// ids, and can be told which command lines are "not found" or which starts
// give no process. Followed programs live on a fake clock that only
// WaitForAnyFollowed moves: each runs until its time in `endsAtMs` (by file
// or command line), or for ever.
class RecordingPlatform : public LaunchPlatform {
 public:
  std::vector<std::wstring> log;
  std::set<std::wstring> missingCommandLines;  // CommandLineStart throws the path error
  std::set<std::wstring> noProcess;            // ExecProcess gives null
  std::map<std::wstring, Failure> failingCommandLines;
  std::set<std::wstring> outOfMemory;  // CommandLineStart throws std::bad_alloc
  std::set<ProcessHandle> openHandles;
  std::map<ProcessHandle, int> closedCount;

  std::map<std::wstring, std::uint64_t> endsAtMs;
  std::map<FollowedProgram, int> releasedCount;
  std::uint64_t clockMs = 0;

  void InitializeCom() override { log.push_back(L"init-com"); }
  void MoveWindowLeftOfScreen() override { log.push_back(L"move-left"); }
  void ShowWindow() override { log.push_back(L"show"); }
  void MinimizeWindow() override { log.push_back(L"minimize"); }
  void HideWindow() override { log.push_back(L"hide"); }
  void DetachedStart(const ExeArgs& program, int showMode) override {
    log.push_back(L"detached " + Describe(program) + L" " + std::to_wstring(showMode));
  }
  ProcessHandle ExecProcess(const ExeArgs& program, int showMode) override {
    log.push_back(L"exec " + Describe(program) + L" " + std::to_wstring(showMode));
    if (noProcess.count(program.file)) return 0;
    const ProcessHandle handle = nextHandle_++;
    openHandles.insert(handle);
    return handle;
  }
  ProcessId CommandLineStart(const std::wstring& commandLine, int windowStyle) override {
    log.push_back(L"cmdline " + commandLine + L" " + std::to_wstring(windowStyle));
    if (missingCommandLines.count(commandLine)) throw Failure(kPathError, L"not found");
    if (auto it = failingCommandLines.find(commandLine); it != failingCommandLines.end())
      throw it->second;
    if (outOfMemory.count(commandLine)) throw std::bad_alloc();
    return nextId_++;
  }
  void WaitForProcessToEnd(const ExeArgs& program, int showMode) override {
    log.push_back(L"wait " + Describe(program) + L" " + std::to_wstring(showMode));
  }
  void ForcedEnd(ProcessHandle handle) override {
    log.push_back(L"end " + std::to_wstring(handle));
    EXPECT_TRUE(openHandles.count(handle)) << "ending a handle that is not open: " << handle;
    openHandles.erase(handle);
    ++closedCount[handle];
  }
  void CloseRequest(ProcessId id) override { log.push_back(L"close " + std::to_wstring(id)); }
  FollowedProgram StartFollowed(const ExeArgs& program, int showMode, bool wholeTree,
                                std::wstring_view place) override {
    log.push_back(L"follow " + Describe(program) + L" " + std::to_wstring(showMode) +
                  (wholeTree ? L" tree " : L" ") + std::wstring(place));
    if (noProcess.count(program.file)) return 0;
    return Follow(program.file);
  }
  FollowedProgram CommandLineStartFollowed(const std::wstring& commandLine, int windowStyle,
                                           bool wholeTree) override {
    log.push_back(L"follow-cmdline " + commandLine + L" " + std::to_wstring(windowStyle) +
                  (wholeTree ? L" tree" : L""));
    if (missingCommandLines.count(commandLine)) throw Failure(kPathError, L"not found");
    return Follow(commandLine);
  }
  ProcessId FollowedProcessId(FollowedProgram program) override {
    ExpectHeld(program);
    return static_cast<ProcessId>(program) + 1000;
  }
  void WaitForFollowedToEnd(FollowedProgram program) override {
    ExpectHeld(program);
    log.push_back(L"wait-followed " + std::to_wstring(program));
  }
  bool FollowedIsRunning(FollowedProgram program) override {
    ExpectHeld(program);
    return !ended_.count(program) && clockMs < EndsAt(program);
  }
  void WaitForAnyFollowed(const std::vector<FollowedProgram>& programs,
                          std::uint32_t timeoutMs) override {
    EXPECT_GT(timeoutMs, 0u) << "a wait that cannot wait spins";
    std::wstring names;
    std::uint64_t wakeAt = clockMs + timeoutMs;
    for (const FollowedProgram program : programs) {
      ExpectHeld(program);
      names += std::to_wstring(program) + L",";
      wakeAt = std::min(wakeAt, EndsAt(program));
    }
    log.push_back(L"wait-any " + names + L" " + std::to_wstring(timeoutMs));
    clockMs = wakeAt;
  }
  void EndFollowed(FollowedProgram program) override {
    ExpectHeld(program);
    ended_.insert(program);
    log.push_back(L"end-followed " + std::to_wstring(program) + L" at " + std::to_wstring(clockMs));
  }
  void ReleaseFollowed(FollowedProgram program) override {
    ExpectHeld(program);
    ++releasedCount[program];
    log.push_back(L"release " + std::to_wstring(program) + L" at " + std::to_wstring(clockMs));
  }
  std::uint64_t NowMs() override { return clockMs; }
  bool EveryFollowedReleasedOnce() const {
    for (const auto& [program, name] : followedNames_) {
      const auto it = releasedCount.find(program);
      if (it == releasedCount.end() || it->second != 1) return false;
    }
    return true;
  }
  void ShowPathErrorMessage() override { log.push_back(L"path-error-box"); }
  void ErrorMsg(std::wstring_view place, const Failure& failure) override {
    log.push_back(L"report " + std::wstring(place) + L" " + std::to_wstring(failure.number()));
  }

 private:
  FollowedProgram Follow(const std::wstring& name) {
    const FollowedProgram program = nextFollowed_++;
    followedNames_[program] = name;
    return program;
  }
  std::uint64_t EndsAt(FollowedProgram program) const {
    const auto it = endsAtMs.find(followedNames_.at(program));
    return it == endsAtMs.end() ? UINT64_MAX : it->second;
  }
  void ExpectHeld(FollowedProgram program) const {
    EXPECT_TRUE(followedNames_.count(program)) << "never started: " << program;
    EXPECT_FALSE(releasedCount.count(program)) << "used after its release: " << program;
  }

  std::map<FollowedProgram, std::wstring> followedNames_;
  std::set<FollowedProgram> ended_;
  FollowedProgram nextFollowed_ = 900;
  ProcessHandle nextHandle_ = 100;
  ProcessId nextId_ = 500;
};

// COM comes first: the shell may need it for any start.
const std::vector<std::wstring> kSetUp = {L"init-com", L"move-left", L"show", L"minimize", L"hide"};

std::vector<std::wstring> WithSetUp(std::vector<std::wstring> rest) {
  std::vector<std::wstring> all = kSetUp;
  all.insert(all.end(), rest.begin(), rest.end());
  return all;
}

TEST(LaunchRun, BlankCommandLineDoesNothing) {
  RecordingPlatform platform;
  EXPECT_EQ(RunLaunch(L"    ", platform), RunOutcome::kBlankCommandLine);
  EXPECT_TRUE(platform.log.empty());
}

TEST(LaunchRun, AllPhasesInOrder) {
  RecordingPlatform platform;
  const auto outcome = RunLaunch(
      L" /a:after1.exe x /t:term1.exe /b:before1.exe /c:close1.exe -q /ti:term2.exe a/b "
      L"/wx:waited.exe arg /ci:close2.exe /bm:before2.exe /an:after2.exe /w:ignored.exe",
      platform);
  EXPECT_EQ(outcome, RunOutcome::kCompleted);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"detached before1.exe|<none> 10",
                                L"detached before2.exe|<none> 2",
                                L"exec term1.exe|<none> 10",
                                L"exec term2.exe a|/b 7",
                                L"cmdline close1.exe -q 1",
                                L"cmdline close2.exe 6",
                                L"wait waited.exe|arg 3",
                                L"end 100",
                                L"end 101",
                                L"close 500",
                                L"close 501",
                                L"detached after1.exe|x 10",
                                L"detached after2.exe|<none> 1",
                            })));
  EXPECT_TRUE(platform.openHandles.empty());
}

TEST(LaunchRun, CommandLineStylesFromShowModes) {
  RecordingPlatform platform;
  RunLaunch(L"/cd:a /ci:b /cm:c /cn:d /co:e /cx:f /c:g", platform);
  EXPECT_THAT(platform.log,
              ElementsAreArray(WithSetUp(
                  {L"cmdline a 1", L"cmdline b 6", L"cmdline c 2", L"cmdline d 1", L"cmdline e 4",
                   L"cmdline f 3", L"cmdline g 1", L"close 500", L"close 501", L"close 502",
                   L"close 503", L"close 504", L"close 505", L"close 506"})));
}

TEST(LaunchRun, EmptyEntriesAndNullSlotsAreSkipped) {
  RecordingPlatform platform;
  platform.noProcess = {L"gone.exe"};
  RunLaunch(L"/b: /t: /t:gone.exe /t:ok.exe /c: /c:c.exe /w: /a:", platform);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"exec gone.exe|<none> 10",
                                L"exec ok.exe|<none> 10",
                                L"cmdline c.exe 1",
                                L"end 100",
                                L"close 500",
                            })));
  EXPECT_EQ(platform.closedCount, (std::map<ProcessHandle, int>{{100, 1}}));
}

TEST(LaunchRun, CompanionsEndAtOnceWithoutWaitedEntry) {
  RecordingPlatform platform;
  RunLaunch(L"/t:t.exe /c:c.exe /a:a.exe", platform);
  EXPECT_THAT(platform.log,
              ElementsAreArray(WithSetUp({L"exec t.exe|<none> 10", L"cmdline c.exe 1", L"end 100",
                                          L"close 500", L"detached a.exe|<none> 10"})));
}

TEST(LaunchRun, PathErrorStopsEverythingAfterIt) {
  RecordingPlatform platform;
  platform.missingCommandLines = {L"missing.exe -x"};
  const auto outcome = RunLaunch(
      L"/b:b.exe /t:t1.exe /c:c1.exe /c:missing.exe -x /c:c3.exe /t:t2.exe /w:w.exe /a:a.exe",
      platform);
  EXPECT_EQ(outcome, RunOutcome::kPathError);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"detached b.exe|<none> 10",
                                L"exec t1.exe|<none> 10",
                                L"exec t2.exe|<none> 10",
                                L"cmdline c1.exe 1",
                                L"cmdline missing.exe -x 1",
                                L"path-error-box",
                            })));
  // Held handles stay open: the companions keep running.
  EXPECT_EQ(platform.openHandles.size(), 2u);
}

TEST(LaunchRun, OtherFailuresAreReportedAsFormLoad) {
  RecordingPlatform platform;
  platform.failingCommandLines.emplace(L"bad.exe", Failure(193, L"not a program"));
  EXPECT_EQ(RunLaunch(L"/c:bad.exe /a:a.exe", platform), RunOutcome::kFailed);
  EXPECT_THAT(platform.log,
              ElementsAreArray(WithSetUp({L"cmdline bad.exe 1", L"report Form_Load 193"})));

  RecordingPlatform starved;
  starved.outOfMemory.insert(L"big.exe");
  EXPECT_EQ(RunLaunch(L"/c:big.exe /a:a.exe", starved), RunOutcome::kFailed);
  EXPECT_THAT(starved.log,
              ElementsAreArray(WithSetUp({L"cmdline big.exe 1", L"report Form_Load 7"})));
}

TEST(LaunchRun, OnlyTheFirstWaitedEntryCounts) {
  RecordingPlatform platform;
  RunLaunch(L"/w: /wx:later.exe /a:a.exe", platform);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({L"detached a.exe|<none> 10"})));
}

TEST(LaunchRun, ManyCompanionsEachEndedOnce) {
  RecordingPlatform platform;
  std::wstring line;
  for (int i = 0; i < 300; ++i) line += L" /t:t" + std::to_wstring(i) + L".exe";
  RunLaunch(line, platform);
  EXPECT_TRUE(platform.openHandles.empty());
  EXPECT_EQ(platform.closedCount.size(), 300u);
  for (const auto& [handle, count] : platform.closedCount) EXPECT_EQ(count, 1) << handle;
}

// Graces run side by side from their own requests; the after phase starts
// only when the last graced companion is gone. A terminate entry with a
// grace is asked to close like a close entry, before the close entries.
TEST(LaunchRunGrace, GracesRunSideBySideAndTheAfterPhaseWaitsForTheLast) {
  RecordingPlatform platform;
  RunLaunch(L"/t5:t.exe /c3:c.exe -q /c:plain.exe /w:w.exe /a:a.exe", platform);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"follow t.exe|<none> 10 frmMain!ExecProcess",
                                L"follow-cmdline c.exe -q 1",
                                L"cmdline plain.exe 1",
                                L"wait w.exe|<none> 10",
                                L"close 1900",
                                L"close 1901",
                                L"close 500",
                                L"wait-any 900,901, 3000",
                                L"end-followed 901 at 3000",
                                L"release 901 at 3000",
                                L"wait-any 900, 2000",
                                L"end-followed 900 at 5000",
                                L"release 900 at 5000",
                                L"detached a.exe|<none> 10",
                            })));
  EXPECT_TRUE(platform.EveryFollowedReleasedOnce());
}

TEST(LaunchRunGrace, CompanionsThatCloseInTimeAreNotEnded) {
  RecordingPlatform platform;
  platform.endsAtMs = {{L"c.exe", 1200}, {L"t.exe", 7000}};
  RunLaunch(L"/tg10:t.exe /c5x:c.exe /a:a.exe", platform);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"follow t.exe|<none> 10 tree frmMain!ExecProcess",
                                L"follow-cmdline c.exe 3",
                                L"close 1900",
                                L"close 1901",
                                L"wait-any 900,901, 5000",
                                L"release 901 at 1200",
                                L"wait-any 900, 8800",
                                L"release 900 at 7000",
                                L"detached a.exe|<none> 10",
                            })));
  EXPECT_TRUE(platform.EveryFollowedReleasedOnce());
}

// g alone changes how a program is held, not when anything happens: a tree
// without a grace is ended at once, a close entry's tree is asked to close
// and let go, and the wait lasts until the waited tree has ended.
TEST(LaunchRunGrace, TreesWithoutGraceKeepThePlainOrder) {
  RecordingPlatform platform;
  RunLaunch(L"/tg:t.exe /cgx:c.exe /wg:w.exe /t:plain.exe /a:a.exe", platform);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"follow t.exe|<none> 10 tree frmMain!ExecProcess",
                                L"exec plain.exe|<none> 10",
                                L"follow-cmdline c.exe 3 tree",
                                L"follow w.exe|<none> 10 tree frmMain!WaitForProcessToEnd",
                                L"wait-followed 902",
                                L"release 902 at 0",
                                L"end-followed 900 at 0",
                                L"release 900 at 0",
                                L"end 100",
                                L"close 1901",
                                L"release 901 at 0",
                                L"detached a.exe|<none> 10",
                            })));
  EXPECT_TRUE(platform.EveryFollowedReleasedOnce());
  EXPECT_TRUE(platform.openHandles.empty());
}

TEST(LaunchRunGrace, StartsWithoutAProcessAreSkipped) {
  RecordingPlatform platform;
  platform.noProcess = {L"gone.exe"};
  RunLaunch(L"/t5:gone.exe /c5: /wg:gone.exe /a:a.exe", platform);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"follow gone.exe|<none> 10 frmMain!ExecProcess",
                                L"follow gone.exe|<none> 10 tree frmMain!WaitForProcessToEnd",
                                L"detached a.exe|<none> 10",
                            })));
}

TEST(LaunchRunGrace, PathErrorOfAFollowedCloseEntryStopsTheRun) {
  RecordingPlatform platform;
  platform.missingCommandLines = {L"missing.exe"};
  EXPECT_EQ(RunLaunch(L"/t5:t.exe /c5:missing.exe /w:w.exe /a:a.exe", platform),
            RunOutcome::kPathError);
  EXPECT_THAT(platform.log, ElementsAreArray(WithSetUp({
                                L"follow t.exe|<none> 10 frmMain!ExecProcess",
                                L"follow-cmdline missing.exe 1",
                                L"path-error-box",
                            })));
}

}  // namespace
}  // namespace kelmo
