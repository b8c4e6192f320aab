#include "launcher/launch_run.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/text_util.h"

namespace kelmo {

namespace {

void StartDetached(const std::vector<PlanEntry>& list, LaunchPlatform& platform) {
  for (const PlanEntry& entry : list) {
    if (entry.programText.empty()) continue;
    platform.DetachedStart(SplitExeArgs(entry.programText), entry.showMode);
  }
}

// Terminate and close entries with a grace or a whole tree: held to be
// followed, not as a bare handle or process id.
bool IsFollowed(const PlanEntry& entry) { return entry.graceSeconds > 0 || entry.wholeTree; }

// A companion that was asked to close and is ended by force if it still runs
// when its grace is up.
struct GracedCompanion {
  FollowedProgram program;
  std::uint64_t deadlineMs;
};

// One slot per terminate or close entry; skipped entries leave theirs empty.
// An entry holds a plain handle or id, or a followed program, never both.
struct HeldCompanions {
  std::vector<ProcessHandle> handles;
  std::vector<ProcessId> ids;
  std::vector<FollowedProgram> followedTerminate;
  std::vector<FollowedProgram> followedClose;
};

void AskToClose(FollowedProgram program, int graceSeconds, LaunchPlatform& platform,
                std::vector<GracedCompanion>& graced) {
  platform.CloseFollowed(program);
  if (graceSeconds == 0) {
    platform.ReleaseFollowed(program);
    return;
  }
  graced.push_back({program, platform.NowMs() + static_cast<std::uint64_t>(graceSeconds) * 1000});
}

// The graces run side by side, each from its own request. Returns when every
// graced companion has ended by itself or been ended at its deadline.
void SeeGracesOut(std::vector<GracedCompanion> graced, LaunchPlatform& platform) {
  while (!graced.empty()) {
    const std::uint64_t now = platform.NowMs();
    std::uint64_t nextDeadline = UINT64_MAX;
    std::vector<GracedCompanion> stillRunning;
    for (const GracedCompanion& companion : graced) {
      if (!platform.FollowedIsRunning(companion.program)) {
        platform.ReleaseFollowed(companion.program);
      } else if (companion.deadlineMs <= now) {
        platform.EndFollowed(companion.program);
        platform.ReleaseFollowed(companion.program);
      } else {
        stillRunning.push_back(companion);
        nextDeadline = std::min(nextDeadline, companion.deadlineMs);
      }
    }
    graced = std::move(stillRunning);
    if (graced.empty()) break;
    std::vector<FollowedProgram> programs;
    programs.reserve(graced.size());
    for (const GracedCompanion& companion : graced) programs.push_back(companion.program);
    platform.WaitForAnyFollowed(programs, static_cast<std::uint32_t>(nextDeadline - now));
  }
}

void StartTerminateList(const std::vector<PlanEntry>& list, LaunchPlatform& platform,
                        HeldCompanions& held) {
  held.handles.assign(list.size(), 0);
  held.followedTerminate.assign(list.size(), 0);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PlanEntry& entry = list[i];
    if (entry.programText.empty()) continue;
    if (IsFollowed(entry)) {
      held.followedTerminate[i] = platform.StartFollowed(
          SplitExeArgs(entry.programText), entry.showMode, entry.wholeTree, L"frmMain!ExecProcess");
    } else {
      held.handles[i] = platform.ExecProcess(SplitExeArgs(entry.programText), entry.showMode);
    }
  }
}

void StartCloseList(const std::vector<PlanEntry>& list, LaunchPlatform& platform,
                    HeldCompanions& held) {
  held.ids.assign(list.size(), 0);
  held.followedClose.assign(list.size(), 0);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PlanEntry& entry = list[i];
    if (entry.programText.empty()) continue;
    const std::wstring commandLine = TrimSpaces(entry.programText);
    const int style = CommandLineWindowStyle(entry.showMode);
    if (IsFollowed(entry)) {
      held.followedClose[i] =
          platform.CommandLineStartFollowed(commandLine, style, entry.wholeTree);
    } else {
      held.ids[i] = platform.CommandLineStart(commandLine, style);
    }
  }
}

void RunWait(const PlanEntry& waited, LaunchPlatform& platform) {
  if (waited.programText.empty()) return;
  const ExeArgs program = SplitExeArgs(waited.programText);
  if (!waited.wholeTree) {
    platform.WaitForProcessToEnd(program, waited.showMode);
    return;
  }
  const FollowedProgram followed =
      platform.StartFollowed(program, waited.showMode, true, L"frmMain!WaitForProcessToEnd");
  if (followed == 0) return;
  platform.WaitForFollowedToEnd(followed);
  platform.ReleaseFollowed(followed);
}

// Terminate entries without a grace are ended at once; with one they are
// asked to close like close entries. Then every grace is seen out.
void EndCompanions(const LaunchPlan& plan, const HeldCompanions& held, LaunchPlatform& platform) {
  std::vector<GracedCompanion> graced;
  for (std::size_t i = 0; i < plan.terminate.size(); ++i) {
    if (held.handles[i] != 0) platform.ForcedEnd(held.handles[i]);
    const FollowedProgram followed = held.followedTerminate[i];
    if (followed == 0) continue;
    if (plan.terminate[i].graceSeconds > 0) {
      AskToClose(followed, plan.terminate[i].graceSeconds, platform, graced);
    } else {
      platform.EndFollowed(followed);
      platform.ReleaseFollowed(followed);
    }
  }
  for (std::size_t i = 0; i < plan.close.size(); ++i) {
    if (held.ids[i] != 0) platform.CloseRequest(held.ids[i]);
    if (held.followedClose[i] != 0) {
      AskToClose(held.followedClose[i], plan.close[i].graceSeconds, platform, graced);
    }
  }
  SeeGracesOut(std::move(graced), platform);
}

void RunPhases(const LaunchPlan& plan, LaunchPlatform& platform) {
  platform.InitializeCom();
  platform.MoveWindowLeftOfScreen();
  platform.ShowWindow();
  platform.MinimizeWindow();
  platform.HideWindow();

  StartDetached(plan.before, platform);
  HeldCompanions held;
  StartTerminateList(plan.terminate, platform, held);
  StartCloseList(plan.close, platform, held);
  if (plan.waited) RunWait(*plan.waited, platform);
  EndCompanions(plan, held, platform);
  StartDetached(plan.after, platform);
}

}  // namespace

int CommandLineWindowStyle(int showMode) {
  switch (showMode) {
    case kShowDefault:
      return 1;
    case kShowMinNoActive:
      return 6;
    default:
      return showMode;
  }
}

std::size_t TreeStartsThroughTheShell(const LaunchPlan& plan) {
  const auto isTree = [](const PlanEntry& entry) {
    return entry.wholeTree && !entry.programText.empty();
  };
  return static_cast<std::size_t>(
             std::count_if(plan.terminate.begin(), plan.terminate.end(), isTree)) +
         (plan.waited && isTree(*plan.waited) ? 1 : 0);
}

RunOutcome RunLaunch(std::wstring_view argumentText, LaunchPlatform& platform) {
  try {
    const std::optional<LaunchPlan> plan = ParseLaunchCommandLine(argumentText);
    if (!plan) return RunOutcome::kBlankCommandLine;
    RunPhases(*plan, platform);
    return RunOutcome::kCompleted;
  } catch (...) {
    const Failure failure = CurrentFailure();
    if (failure.number() == kPathError) {
      platform.ShowPathErrorMessage();
      return RunOutcome::kPathError;
    }
    platform.ErrorMsg(L"Form_Load", failure);
  }
  return RunOutcome::kFailed;
}

}  // namespace kelmo
