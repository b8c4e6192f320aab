// Graces and whole trees run for real: kelmoPro.exe under Wine with probes
// that ignore or obey WM_CLOSE and probes that start a child and end.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "launcher/followed_program.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

class LauncherGraceWine : public ::testing::Test {
 protected:
  std::wstring Probe(const std::wstring& tag, const std::wstring& options = L"") {
    return ProbeCommand(tag, options);
  }
  // Option text for a probe that ends once the test calls Release().
  std::wstring UntilReleased() const { return L"-until " + release_; }
  // Option text for a probe that starts a child `childTag`, which stays
  // until Release().
  std::wstring SpawningUntilReleased(const std::wstring& childTag) const {
    return L"-spawn " + childTag + L" " + UntilReleased();
  }
  void Release() { CreateReleaseFile(release_); }
  // The probe `tag`, once it has written `key`, opened so its end can be seen.
  StartedProcess Watch(const std::wstring& tag, const std::wstring& key = L"args") {
    const ProbeReport report = WaitForReport(dir_, tag, key);
    return WatchProcess(static_cast<DWORD>(report.Number(L"pid")));
  }
  void ExpectLauncherEnds(const StartedProcess& launcher) {
    EXPECT_EQ(WaitForExit(launcher, 30000), std::optional<DWORD>(0)) << "launcher did not end";
  }

  ProbeDir dir_;
  const std::wstring release_ = dir_.File(L"release");
  const std::wstring releaseWaited_ = dir_.File(L"release-waited");
};

// Companions that keep running after their close request are ended once
// their graces are up, t and c alike, and a cg companion with its child; the
// after program starts only once all of them are gone.
TEST_F(LauncherGraceWine, CompanionsThatIgnoreTheCloseAreEndedAfterTheirGrace) {
  const StartedProcess launcher =
      StartLauncher(L"/c1:" + Probe(L"c", L"-window -ignoreclose") + L" /t2:" +
                    Probe(L"t", L"-window -ignoreclose") + L" /cg1:" +
                    Probe(L"cg", L"-window -ignoreclose " + SpawningUntilReleased(L"cgchild")) +
                    L" /w:" + Probe(L"w", L"-until " + releaseWaited_) + L" /a:" + Probe(L"a"));
  const StartedProcess c = Watch(L"c", L"windows"), t = Watch(L"t", L"windows"),
                       cg = Watch(L"cg", L"windows"), cgChild = Watch(L"cgchild");
  CreateReleaseFile(releaseWaited_);
  for (const auto* companion : {&c, &t, &cg, &cgChild}) {
    EXPECT_EQ(WaitForExit(*companion), std::optional<DWORD>(0)) << "not ended by force";
  }
  for (const wchar_t* tag : {L"c", L"t", L"cg"}) {
    WaitForReport(dir_, tag, L"closed");  // asked to close first
  }
  ExpectLauncherEnds(launcher);
  const ProbeReport after = WaitForReport(dir_, L"a");
  for (const auto* companion : {&c, &t, &cg, &cgChild}) {
    EXPECT_GE(after.Number(L"created"), ExitTime(*companion)) << "after program came too early";
  }
  Release();
}

// A companion that obeys its close request ends by itself, long before its
// grace of ten minutes, and the launcher goes on at once.
TEST_F(LauncherGraceWine, CompanionsThatObeyEndByThemselvesBeforeTheirGrace) {
  const StartedProcess launcher =
      StartLauncher(L"/c600:" + Probe(L"c", L"-window") + L" /tg600:" + Probe(L"t", L"-window") +
                    L" /w:" + Probe(L"w", L"-until " + releaseWaited_) + L" /a:" + Probe(L"a"));
  const StartedProcess c = Watch(L"c", L"windows"), t = Watch(L"t", L"windows");
  CreateReleaseFile(releaseWaited_);
  EXPECT_EQ(WaitForExit(c), std::optional<DWORD>(3)) << "a probe that ends itself exits with 3";
  EXPECT_EQ(WaitForExit(t), std::optional<DWORD>(3));
  ExpectLauncherEnds(launcher);
  const ProbeReport after = WaitForReport(dir_, L"a");
  EXPECT_GE(after.Number(L"created"), WaitForReport(dir_, L"c", L"exited").Number(L"exited"));
  EXPECT_GE(after.Number(L"created"), WaitForReport(dir_, L"t", L"exited").Number(L"exited"));
}

// With g the wait lasts until the program's child has ended too: a stub that
// starts its child before anything else and ends at once, and a batch file,
// which CreateProcess starts through cmd, that starts its child with "start".
TEST_F(LauncherGraceWine, StubAndBatchFileAreWaitedThroughWithG) {
  const std::wstring batch = dir_.File(L"stub.bat");
  const std::wstring batchRelease = dir_.File(L"release-batch");
  const std::string line =
      "@start \"\" " + Narrow(Probe(L"batchild", L"-until " + batchRelease)) + "\r\n";
  HANDLE file = CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  const struct {
    std::wstring waited, child, release;
    const wchar_t* ended;  // the waited program's probe, seen to end while its child runs
  } rows[] = {{Probe(L"stub", SpawningUntilReleased(L"child")), L"child", release_, L"stub"},
              {batch, L"batchild", batchRelease, nullptr}};
  for (const auto& r : rows) {
    SCOPED_TRACE(Narrow(r.child));
    const std::wstring after = r.child + L"after";
    const StartedProcess launcher = StartLauncher(L"/wg:" + r.waited + L" /a:" + Probe(after));
    WaitForReport(dir_, r.child);
    if (r.ended) WaitForReport(dir_, r.ended, L"exited");
    EXPECT_FALSE(ReadReport(dir_, after).has_value()) << "after program while the child runs";
    CreateReleaseFile(r.release);
    ExpectLauncherEnds(launcher);
    EXPECT_GE(WaitForReport(dir_, after).Number(L"created"),
              WaitForReport(dir_, r.child, L"exited").Number(L"exited"));
  }
}

TEST_F(LauncherGraceWine, StubIsNotWaitedThroughWithoutG) {
  const StartedProcess launcher = StartLauncher(
      L"/w:" + Probe(L"stub", SpawningUntilReleased(L"child")) + L" /a:" + Probe(L"a"));
  const StartedProcess child = Watch(L"child");
  ExpectLauncherEnds(launcher);
  WaitForReport(dir_, L"a");
  EXPECT_FALSE(WaitForExit(child, 0).has_value()) << "the child must still run";
  Release();
  EXPECT_EQ(WaitForExit(child), std::optional<DWORD>(3));
}

// Ending a tg companion ends its child; a plain t companion's child, the
// before program and the after program are never ended.
TEST_F(LauncherGraceWine, EndingATreeEndsItsChildAndNothingElse) {
  const StartedProcess launcher = StartLauncher(
      L"/b:" + Probe(L"b", UntilReleased()) + L" /tg:" +
      Probe(L"tree", UntilReleased() + L" " + SpawningUntilReleased(L"treechild")) + L" /t:" +
      Probe(L"single", UntilReleased() + L" " + SpawningUntilReleased(L"singlechild")) + L" /w:" +
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

// A launcher that itself runs inside a job (here one that allows no
// breakaway) still runs the group and ends; whether the tree is followed
// depends on the system's nested jobs, and the test says which it saw.
TEST_F(LauncherGraceWine, LauncherInsideAJobStillRunsTheGroup) {
  const StartedProcess launcher = StartLauncherInJob(
      L"/wg:" + Probe(L"stub", SpawningUntilReleased(L"child")) + L" /a:" + Probe(L"a"));
  WaitForReport(dir_, L"child");
  WaitForReport(dir_, L"stub", L"exited");
  const bool endedWhileChildRan = WaitForExit(launcher, 3000).has_value();
  std::printf("launcher inside a job: %s\n", endedWhileChildRan
                                                 ? "the stub alone was followed"
                                                 : "the tree was followed (nested job)");
  Release();
  ExpectLauncherEnds(launcher);
  WaitForReport(dir_, L"a");
}

}  // namespace
}  // namespace kelmo
