#include "launcher/launch_run.h"

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

void RunPhases(const LaunchPlan& plan, LaunchPlatform& platform) {
  platform.PrepareShell();
  platform.MoveWindowLeftOfScreen();
  platform.ShowWindow();
  platform.MinimizeWindow();
  platform.HideWindow();

  StartDetached(plan.before, platform);

  // One slot per entry; skipped entries leave theirs empty.
  std::vector<ProcessHandle> heldHandles(plan.terminate.size(), 0);
  for (std::size_t i = 0; i < plan.terminate.size(); ++i) {
    const PlanEntry& entry = plan.terminate[i];
    if (entry.programText.empty()) continue;
    heldHandles[i] = platform.ExecProcess(SplitExeArgs(entry.programText), entry.showMode);
  }

  std::vector<ProcessId> heldIds(plan.close.size(), 0);
  for (std::size_t i = 0; i < plan.close.size(); ++i) {
    const PlanEntry& entry = plan.close[i];
    if (entry.programText.empty()) continue;
    heldIds[i] = platform.CommandLineStart(TrimSpaces(entry.programText),
                                           CommandLineWindowStyle(entry.showMode));
  }

  if (plan.waited && !plan.waited->programText.empty()) {
    platform.WaitForProcessToEnd(SplitExeArgs(plan.waited->programText), plan.waited->showMode);
  }

  for (ProcessHandle handle : heldHandles) {
    if (handle != 0) platform.ForcedEnd(handle);
  }
  for (ProcessId id : heldIds) {
    if (id != 0) platform.CloseRequest(id);
  }

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
