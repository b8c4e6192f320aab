// Graces, whole trees, pauses and readiness run for real: kelmoPro.exe under
// Wine with probes that ignore or obey WM_CLOSE, probes that start a child
// and end, and probes that show their window late.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/win/com_init.h"
#include "tests/wine/launcher_fixture.h"
#include "tests/wine/shortcut_file.h"

namespace kelmo {
namespace {

using namespace testing_support;

// 100 ns units of the probes' times in a second.
constexpr long long kSecond = 10000000;

// Companions that keep running after their close request are ended once
// their graces are up, and no earlier, t and c alike, and a cg companion
// with its child; the after program starts only once all of them are gone.
TEST_F(LauncherWine, CompanionsThatIgnoreTheCloseAreEndedAfterTheirGrace) {
  const StartedProcess launcher =
      StartLauncher(L"/c1:" + Probe(L"c", L"-window -ignoreclose") + L" /t2:" +
                    Probe(L"t", L"-window -ignoreclose") + L" /cg1:" +
                    Probe(L"cg", L"-window -ignoreclose " + Spawning(L"cgchild")) + L" /w:" +
                    Probe(L"w", L"-until " + releaseWaited_) + L" /a:" + Probe(L"a"));
  const StartedProcess c = Watch(L"c", L"windows"), t = Watch(L"t", L"windows"),
                       cg = Watch(L"cg", L"windows"), cgChild = Watch(L"cgchild");
  CreateReleaseFile(releaseWaited_);
  for (const auto* companion : {&c, &t, &cg, &cgChild}) {
    EXPECT_EQ(WaitForExit(*companion), std::optional<DWORD>(0)) << "not ended by force";
  }
  // Each grace runs from its request, which follows the waited program's end.
  const long long waitedEnd = Report(L"w", L"exited").Number(L"exited");
  EXPECT_GE(ExitTime(c) - waitedEnd, 1 * kSecond) << "c ended before its grace was up";
  EXPECT_GE(ExitTime(t) - waitedEnd, 2 * kSecond) << "t ended before its grace was up";
  Report(L"cg", L"closed");
  ExpectLauncherEnds(launcher);
  const ProbeReport after = Report(L"a");
  for (const auto* companion : {&c, &t, &cg, &cgChild}) {
    EXPECT_GE(after.Number(L"created"), ExitTime(*companion)) << "after program came too early";
  }
  Release();
}

// A companion that obeys its close request, however long its user takes to
// answer, ends by itself long before its grace of ten minutes, and the after
// program waits for it; the launcher goes on as soon as it has ended. Meanwhile
// the launcher's window answers what other programs send it (a broadcast
// would hang on it otherwise), in the tree's wait and in the grace.
TEST_F(LauncherWine, CompanionsThatObeyEndByThemselvesBeforeTheirGrace) {
  const StartedProcess launcher =
      StartLauncher(L"/c600:" + Probe(L"c", L"-window " + UntilReleased()) + L" /tg600:" +
                    Probe(L"t", L"-window") + L" /wg:" + Probe(L"w", L"-until " + releaseWaited_) +
                    L" /a:" + Probe(L"a"));
  const StartedProcess c = Watch(L"c", L"windows"), t = Watch(L"t", L"windows");
  Report(L"w");
  EXPECT_TRUE(Answers(LauncherForm(launcher))) << "in a tree's wait";
  CreateReleaseFile(releaseWaited_);
  Report(L"c", L"closed");
  EXPECT_TRUE(Answers(LauncherForm(launcher))) << "in a grace";
  EXPECT_FALSE(StartsWithin(L"a", 1500)) << "after program while a companion answers its close";
  Release();
  EXPECT_EQ(WaitForExit(c), std::optional<DWORD>(3)) << "a probe that ends itself exits with 3";
  EXPECT_EQ(WaitForExit(t), std::optional<DWORD>(3));
  ExpectLauncherEnds(launcher);
  const ProbeReport after = Report(L"a");
  EXPECT_GE(after.Number(L"created"), Report(L"c", L"exited").Number(L"exited"));
  EXPECT_GE(after.Number(L"created"), Report(L"t", L"exited").Number(L"exited"));
}

// The close request of a g item reaches every process of its tree on a
// visible window: a stub that has ended leaves its windowed child, which is
// asked to close with a grace and without; a stub with only a hidden window
// gets none. The graced one ends by itself (3, not the forced 0) and the
// after program follows at once; the tree let go without a grace keeps
// running after the launcher has ended.
TEST_F(LauncherWine, TheCloseRequestOfATreeReachesTheStubsChild) {
  const StartedProcess launcher = StartLauncher(
      L"/cg:" + Probe(L"stub", L"-hiddenonly " + Spawning(L"kept", L"-window -ignoreclose")) +
      L" /c5g:" + Probe(L"graced", Spawning(L"child", L"-window")) + L" /w:" +
      WaitedUntilReleased(L"w") + L" /a:" + Probe(L"a"));
  const StartedProcess kept = Watch(L"kept", L"windows"), child = Watch(L"child", L"windows"),
                       stub = Watch(L"stub", L"windows");
  Report(L"graced", L"exited");
  Release();
  Report(L"kept", L"closed");
  EXPECT_EQ(WaitForExit(child), std::optional<DWORD>(3)) << "the child never got the request";
  ExpectLauncherEnds(launcher);
  EXPECT_GE(Report(L"a").Number(L"created"), ExitTime(child));
  for (const auto* left : {&kept, &stub}) {
    EXPECT_FALSE(WaitForExit(*left, 0).has_value()) << "a tree let go must outlive the launcher";
    KillProcess(left->id);
  }
  EXPECT_FALSE(Report(L"stub").Has(L"closed")) << "a hidden window of a tree was asked to close";
}

// With g the wait lasts until the program's child has ended too, however the
// shell reaches the program: a stub that starts its child before anything
// else and ends at once, named by path, by a name registered under App Paths
// and through a shortcut; and a batch file that starts its child with
// "start".
TEST_F(LauncherWine, StubsAreWaitedThroughWithG) {
  const ScopedComInitialization com;
  const std::wstring batch = dir_.File(L"stub.bat");
  const std::wstring batchRelease = dir_.File(L"release-batch");
  WriteTextFile(batch, "@start \"\" " + Narrow(Probe(L"batchild", L"-until " + batchRelease)));
  const std::wstring lnk = WriteHandMadeShortcut(
      dir_.File(L"Game.lnk"), {BinDir() + L"\\probe.exe", L"lnkstub " + Spawning(L"lnkchild")});
  const ScopedAppPath appPath(L"kelmoprobe.exe", BinDir() + L"\\probe.exe");
  const struct {
    std::wstring waited, stub, child, release;
  } rows[] = {
      {Probe(L"stub", Spawning(L"child")), L"stub", L"child", release_},
      {L"kelmoprobe.exe appstub " + Spawning(L"appchild"), L"appstub", L"appchild", release_},
      {lnk, L"lnkstub", L"lnkchild", release_},
      {batch, L"", L"batchild", batchRelease}};
  for (const auto& r : rows) {
    SCOPED_TRACE(Narrow(r.child));
    const std::wstring after = r.child + L"after";
    const StartedProcess launcher = StartLauncher(L"/wg:" + r.waited + L" /a:" + Probe(after));
    Report(r.child);
    if (!r.stub.empty()) Report(r.stub, L"exited");
    EXPECT_FALSE(StartsWithin(after, 1500)) << "after program while the child runs";
    CreateReleaseFile(r.release);
    ExpectLauncherEnds(launcher);
    EXPECT_GE(Report(after).Number(L"created"), Report(r.child, L"exited").Number(L"exited"));
    DeleteFileW(r.release.c_str());
  }
}

TEST_F(LauncherWine, StubIsNotWaitedThroughWithoutG) {
  const StartedProcess launcher =
      StartLauncher(L"/w:" + Probe(L"stub", Spawning(L"child")) + L" /a:" + Probe(L"a"));
  const StartedProcess child = Watch(L"child");
  ExpectLauncherEnds(launcher);
  Report(L"a");
  EXPECT_FALSE(WaitForExit(child, 0).has_value()) << "the child must still run";
  Release();
  EXPECT_EQ(WaitForExit(child), std::optional<DWORD>(3));
}

// Ending a tg companion ends its child; a plain t companion's child, the
// before program and the after program are never ended.
TEST_F(LauncherWine, EndingATreeEndsItsChildAndNothingElse) {
  const StartedProcess launcher = StartLauncher(
      L"/b:" + Probe(L"b", UntilReleased()) + L" /tg:" +
      Probe(L"tree", UntilReleased() + L" " + Spawning(L"treechild")) + L" /t:" +
      Probe(L"single", UntilReleased() + L" " + Spawning(L"singlechild")) + L" /w:" +
      Probe(L"w", L"-until " + releaseWaited_) + L" /a:" + Probe(L"a", UntilReleased()));
  const StartedProcess b = Watch(L"b"), tree = Watch(L"tree"), treeChild = Watch(L"treechild"),
                       single = Watch(L"single"), singleChild = Watch(L"singlechild");
  CreateReleaseFile(releaseWaited_);
  ExpectLauncherEnds(launcher);
  EXPECT_EQ(WaitForExit(tree), std::optional<DWORD>(0));
  EXPECT_EQ(WaitForExit(treeChild), std::optional<DWORD>(0)) << "the tree's child survived";
  EXPECT_EQ(WaitForExit(single), std::optional<DWORD>(0));
  const StartedProcess after = Watch(L"a");
  Release();
  for (const auto* untouched : {&b, &singleChild, &after}) {
    EXPECT_EQ(WaitForExit(*untouched), std::optional<DWORD>(3)) << "ended though not in a tree";
  }
}

// A launcher that itself runs inside a job still runs the group and ends.
// Where that job lets processes leave it, the tree leaves it and is followed:
// the after program comes only once the stub's child has ended. Where it
// does not, whether the tree is followed depends on the system's nested
// jobs, and the test says which it saw.
TEST_F(LauncherWine, LauncherInsideAJobStillRunsTheGroup) {
  for (const bool breakawayAllowed : {true, false}) {
    SCOPED_TRACE(breakawayAllowed ? "breakaway allowed" : "no breakaway");
    const std::wstring tag = breakawayAllowed ? L"out" : L"in";
    const StartedProcess launcher = StartLauncherInJob(
        L"/wg:" + Probe(tag, Spawning(tag + L"child")) + L" /a:" + Probe(tag + L"after"),
        breakawayAllowed ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0);
    const StartedProcess child = Watch(tag + L"child");
    Report(tag, L"exited");
    BOOL inOuterJob = FALSE;
    ASSERT_TRUE(IsProcessInJob(child.process.get(), launcher.job.get(), &inOuterJob));
    Release();
    ExpectLauncherEnds(launcher);
    const bool treeFollowed = Report(tag + L"after").Number(L"created") >=
                              Report(tag + L"child", L"exited").Number(L"exited");
    if (breakawayAllowed) {
      EXPECT_FALSE(inOuterJob) << "the tree stayed in the launcher's job";
      EXPECT_TRUE(treeFollowed) << "after program while the child runs";
    } else {
      std::printf(
          "launcher inside a job without breakaway: %s\n",
          treeFollowed ? "the tree was followed (nested job)" : "the stub alone was followed");
    }
    DeleteFileW(release_.c_str());
  }
}

// Each held start holds back the next, for no longer than it must: a before
// tree until its stub's child shows its window late (the window exists,
// hidden, from the start), a plain pause for its seconds though its program
// ends at once, and a close probe until it shows its window late. Neither
// held program is ended by the hold.
TEST_F(LauncherWine, ReadinessAndPausesHoldBackTheNextStart) {
  const std::wstring late = L"-window -showafter 1500";
  const StartedProcess launcher =
      StartLauncher(L"/bgr:" + Probe(L"stub", Spawning(L"r", late)) + L" /b2:" + Probe(L"p") +
                    L" /cr:" + Probe(L"c", late) + L" /w:" + WaitedUntilReleased(L"w"));
  const StartedProcess r = Watch(L"r"), c = Watch(L"c");
  const ProbeReport ready = Report(L"r", L"shown"), paused = Report(L"p"),
                    close = Report(L"c", L"shown"), waited = Report(L"w");
  const long long p = paused.Number(L"created"), slack = kSecond;
  EXPECT_GE(p, ready.Number(L"shown"));
  EXPECT_LE(p, ready.Number(L"shown") + slack);
  EXPECT_GE(close.Number(L"created"), p + 2 * kSecond - kSecond / 10);
  EXPECT_LE(close.Number(L"created"), p + 2 * kSecond + slack);
  EXPECT_GE(waited.Number(L"created"), close.Number(L"shown"));
  EXPECT_LE(waited.Number(L"created"), close.Number(L"shown") + slack);
  for (const auto* held : {&r, &c}) EXPECT_FALSE(WaitForExit(*held, 0).has_value());
  Release();
  ExpectLauncherEnds(launcher);
  KillProcess(r.id);  // a before program is never closed
}

// A game that a store's client starts is followed by its name: the before
// probe starts a copy of the probe named game.exe a second later, which runs
// for 1.5 s, far longer than the launcher takes to see it. The wait lasts
// until that copy has ended and the companion is closed after it; a game.exe
// started before the launcher is neither waited for nor closed.
TEST_F(LauncherWine, AProgramFollowedByNameHoldsTheGroupTogether) {
  const std::wstring game = dir_.File(L"game.exe");
  ASSERT_TRUE(CopyFileW((BinDir() + L"\\probe.exe").c_str(), game.c_str(), FALSE));
  const StartedProcess earlier = StartProgram(game, L"earlier -window " + UntilReleased());
  Report(L"earlier", L"windows");
  const StartedProcess launcher = StartLauncher(
      L"/b:" + Probe(L"client", L"-spawnfrom " + game + L" 1000 -spawn game -exit 1500") + L" /c:" +
      Probe(L"c", L"-window") + L" /wp:game.exe /a:" + Probe(L"a"));
  ExpectLauncherEnds(launcher);
  const long long gameEnd = Report(L"game", L"exited").Number(L"exited");
  EXPECT_GE(Report(L"a").Number(L"created"), gameEnd);
  EXPECT_GE(Report(L"c", L"closed").Number(L"closed"), gameEnd);
  EXPECT_FALSE(Report(L"earlier").Has(L"closed"));
  EXPECT_FALSE(WaitForExit(earlier, 0).has_value()) << "the earlier game.exe was ended";
  KillProcess(earlier.id);
}

}  // namespace
}  // namespace kelmo
