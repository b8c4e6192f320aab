#include "launcher/launch_run.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

#include "common/text_util.h"

namespace kelmo {

namespace {

// How long the launcher holds back its next start after this entry's: its
// pause, or with readiness at most its pause or else the default.
std::uint32_t HoldMs(const PlanEntry& entry) {
  const int seconds =
      entry.untilReady && entry.pauseSeconds == 0 ? kDefaultReadySeconds : entry.pauseSeconds;
  return static_cast<std::uint32_t>(seconds) * 1000;
}

// A held program is ready once it shows a window on the screen, or once it
// has ended; a console program, which may never get a window of its own, as
// soon as it has started.
bool IsReady(const FollowedProgram& program, LaunchPlatform& platform) {
  return !platform.FollowedIsRunning(program) || platform.FollowedIsConsoleProgram(program) ||
         platform.FollowedShowsWindow(program);
}

// Holds back the next start: for the whole pause, or with readiness until
// the program is ready. A program that never gets ready, or a start that
// gave no process to look at, costs at most the pause; nothing is ended.
// Once the session ends, nothing is held back any more.
void HoldBack(const PlanEntry& entry, const FollowedProgram& program, LaunchPlatform& platform) {
  const std::uint32_t holdMs = HoldMs(entry);
  if (holdMs == 0 || platform.SessionIsEnding()) return;
  if (!entry.untilReady) {
    platform.Pause(holdMs);
    return;
  }
  if (!program) return;
  const std::uint64_t deadline = platform.NowMs() + holdMs;
  while (!platform.SessionIsEnding() && !IsReady(program, platform)) {
    const std::uint64_t now = platform.NowMs();
    if (now >= deadline) return;
    platform.WaitForReadiness(program, static_cast<std::uint32_t>(deadline - now));
  }
}

// Before and after entries start detached, unless a pause or readiness
// holds the next start back: then the program is held for that time only.
void StartDetached(const std::vector<PlanEntry>& list, LaunchPlatform& platform) {
  for (const PlanEntry& entry : list) {
    if (platform.SessionIsEnding()) return;
    if (entry.programText.empty()) continue;
    const ExeArgs program = SplitExeArgs(entry.programText);
    if (HoldMs(entry) == 0) {
      platform.DetachedStart(program, entry.showMode);
      continue;
    }
    const FollowedProgram held = platform.HeldStart(program, entry.showMode, entry.wholeTree);
    HoldBack(entry, held, platform);
  }
}

// How often the launcher reads the process list while it waits for a program
// followed by name to appear, and, once it follows some, for newcomers.
constexpr std::uint32_t kAppearLookMs = 100;
constexpr std::uint32_t kNewcomerLookMs = 1000;

// The programs a p item names, and those of them followed so far. A process
// is taken once: the ids seen go with their creation times, since a later
// process may get an id again.
struct NamedPrograms {
  NamePattern pattern;
  std::vector<FollowedProgram> followed;
  std::vector<std::pair<std::uint32_t, std::uint64_t>> seen;
};

NamedPrograms NameToFollow(const PlanEntry& entry, LaunchPlatform& platform) {
  NamedPrograms named;
  named.pattern = ReadNamePattern(ExpandVariables(entry.programText, [&](std::wstring_view name) {
    return platform.EnvironmentVariable(name);
  }));
  if (named.pattern.kind != NamePattern::Kind::kFileName) {
    named.pattern.text = platform.LongPathForm(named.pattern.text);
  }
  return named;
}

// Follows every process that matches and was not seen before; gives how
// many it took.
std::size_t FollowNewcomers(NamedPrograms& named, LaunchPlatform& platform) {
  std::size_t taken = 0;
  for (const RunningProcess& process : platform.NewerProcesses()) {
    const auto key = std::make_pair(process.id, process.createdAt);
    if (!MatchesName(named.pattern, process) ||
        std::find(named.seen.begin(), named.seen.end(), key) != named.seen.end()) {
      continue;
    }
    named.seen.push_back(key);
    if (FollowedProgram held = platform.FollowProcess(process)) {
      named.followed.push_back(std::move(held));
      ++taken;
    }
  }
  return taken;
}

std::vector<const FollowedProgram*> Pointers(const std::vector<FollowedProgram>& programs) {
  std::vector<const FollowedProgram*> pointers;
  pointers.reserve(programs.size());
  for (const FollowedProgram& program : programs) pointers.push_back(&program);
  return pointers;
}

// A waited p item: waits for the first matching process to appear, at most
// the item's seconds, then until every matching process has ended, those
// that appear meanwhile (a game that restarts itself) included.
void WaitForNamed(const PlanEntry& waited, LaunchPlatform& platform) {
  NamedPrograms named = NameToFollow(waited, platform);
  const int seconds = waited.appearSeconds > 0 ? waited.appearSeconds : kDefaultAppearSeconds;
  const std::uint64_t deadline = platform.NowMs() + static_cast<std::uint64_t>(seconds) * 1000;
  while (FollowNewcomers(named, platform) == 0) {
    const std::uint64_t now = platform.NowMs();
    if (now >= deadline || platform.SessionIsEnding()) return;
    platform.Pause(
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kAppearLookMs, deadline - now)));
  }
  std::uint64_t nextLook = platform.NowMs() + kNewcomerLookMs;
  while (!platform.SessionIsEnding()) {
    auto& followed = named.followed;
    followed.erase(std::remove_if(followed.begin(), followed.end(),
                                  [&](const FollowedProgram& program) {
                                    return !platform.FollowedIsRunning(program);
                                  }),
                   followed.end());
    const std::uint64_t now = platform.NowMs();
    // The list is read again at most every second, and once more when the
    // last one has ended.
    if (followed.empty() || now >= nextLook) {
      if (FollowNewcomers(named, platform) == 0 && followed.empty()) return;
      nextLook = platform.NowMs() + kNewcomerLookMs;
      continue;
    }
    platform.WaitForAnyFollowed(Pointers(followed), static_cast<std::uint32_t>(nextLook - now));
  }
}

// Terminate and close entries with a grace, a whole tree or readiness: held
// to be followed, not as a bare handle.
bool IsFollowed(const PlanEntry& entry) {
  return entry.graceSeconds > 0 || entry.wholeTree || entry.untilReady;
}

// A companion that was asked to close and is ended by force if it still runs
// when its grace is up.
struct GracedCompanion {
  FollowedProgram program;
  std::uint64_t deadlineMs;
};

// What a terminate entry holds: its process handle, or, followed, its
// program. An empty entry, or one that gave no process, holds an empty handle.
// A p entry holds the programs it names, found when its turn comes.
using TerminateSlot = std::variant<ProcessHandle, FollowedProgram, NamedPrograms>;
// What a close entry holds: its process handle, so that its close request
// can never reach another program that got its id, or, followed, its
// program. An empty entry, or one that gave no process, holds an empty handle.
using CloseSlot = std::variant<ProcessHandle, FollowedProgram, NamedPrograms>;

// One slot per terminate and per close entry, in the entries' order. What is
// still held when they go (a run stopped by a failure) is let go of unended.
struct HeldCompanions {
  std::vector<TerminateSlot> terminate;
  std::vector<CloseSlot> close;
};

// A program asked to close without a grace is let go of at once.
void AskToClose(FollowedProgram program, int graceSeconds, LaunchPlatform& platform,
                std::vector<GracedCompanion>& graced) {
  platform.CloseFollowed(program);
  if (graceSeconds == 0) return;
  graced.push_back(
      {std::move(program), platform.NowMs() + static_cast<std::uint64_t>(graceSeconds) * 1000});
}

// The graces run side by side, each from its own request. Returns when every
// graced companion has ended by itself or been ended at its deadline; each is
// let go of as soon as it is taken off the list. Once the session ends,
// the rest are let go of: Windows ends them with the session.
void SeeGracesOut(std::vector<GracedCompanion> graced, LaunchPlatform& platform) {
  while (!graced.empty() && !platform.SessionIsEnding()) {
    const std::uint64_t now = platform.NowMs();
    std::uint64_t nextDeadline = UINT64_MAX;
    for (auto companion = graced.begin(); companion != graced.end();) {
      if (!platform.FollowedIsRunning(companion->program)) {
        companion = graced.erase(companion);
      } else if (companion->deadlineMs <= now) {
        platform.EndFollowed(companion->program);
        companion = graced.erase(companion);
      } else {
        nextDeadline = std::min(nextDeadline, companion->deadlineMs);
        ++companion;
      }
    }
    if (graced.empty()) break;
    std::vector<const FollowedProgram*> programs;
    programs.reserve(graced.size());
    for (const GracedCompanion& companion : graced) programs.push_back(&companion.program);
    platform.WaitForAnyFollowed(programs, static_cast<std::uint32_t>(nextDeadline - now));
  }
}

void StartTerminateList(const std::vector<PlanEntry>& list, LaunchPlatform& platform,
                        HeldCompanions& held) {
  held.terminate.resize(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PlanEntry& entry = list[i];
    if (platform.SessionIsEnding()) return;
    if (entry.programText.empty()) continue;
    if (entry.byName) {
      held.terminate[i] = NameToFollow(entry, platform);
    } else if (IsFollowed(entry)) {
      FollowedProgram followed = platform.StartFollowed(
          SplitExeArgs(entry.programText), entry.showMode, entry.wholeTree, L"frmMain!ExecProcess");
      HoldBack(entry, followed, platform);
      held.terminate[i] = std::move(followed);
    } else {
      held.terminate[i] = platform.ExecProcess(SplitExeArgs(entry.programText), entry.showMode);
    }
  }
}

// A close entry's program that asks for administrator rights cannot be
// started as a command line: it is started through the shell instead, which
// asks the user's consent, and followed as a terminate entry is. An elevated
// process never joins the launcher's job, so no tree is asked for. If the
// user declines, no process comes back and the entry is passed over.
template <typename Start, typename StartElevated>
auto StartFromCommandLine(const Start& start, const StartElevated& startElevated) {
  try {
    return start();
  } catch (const Failure& failure) {
    if (failure.number() != kElevationRequired) throw;
  }
  return startElevated();
}

void StartCloseList(const std::vector<PlanEntry>& list, LaunchPlatform& platform,
                    HeldCompanions& held) {
  held.close.resize(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PlanEntry& entry = list[i];
    if (platform.SessionIsEnding()) return;
    if (entry.programText.empty()) continue;
    if (entry.byName) {
      held.close[i] = NameToFollow(entry, platform);
      continue;
    }
    const std::wstring commandLine = TrimSpaces(entry.programText);
    const int style = CommandLineWindowStyle(entry.showMode);
    const auto throughTheShell = [&] { return SplitCommandLine(commandLine); };
    if (IsFollowed(entry)) {
      FollowedProgram followed = StartFromCommandLine(
          [&] { return platform.CommandLineStartFollowed(commandLine, style, entry.wholeTree); },
          [&] {
            return platform.StartFollowed(throughTheShell(), entry.showMode, false,
                                          L"frmMain!ExecProcess");
          });
      HoldBack(entry, followed, platform);
      held.close[i] = std::move(followed);
    } else {
      held.close[i] = StartFromCommandLine(
          [&] { return platform.CommandLineStart(commandLine, style); },
          [&] { return platform.ExecProcess(throughTheShell(), entry.showMode); });
    }
  }
}

void RunWait(const PlanEntry& waited, LaunchPlatform& platform) {
  if (waited.programText.empty()) return;
  if (waited.byName) {
    WaitForNamed(waited, platform);
    return;
  }
  const ExeArgs program = SplitExeArgs(waited.programText);
  if (!waited.wholeTree) {
    platform.WaitForProcessToEnd(program, waited.showMode);
    return;
  }
  const FollowedProgram followed =
      platform.StartFollowed(program, waited.showMode, true, L"frmMain!WaitForProcessToEnd");
  if (followed) platform.WaitForFollowedToEnd(followed);
}

// Asks every program a p companion names to close (with a grace: each is
// ended if it still runs when the grace is up), or without a grace, for a t
// entry, ends each.
void EndNamed(NamedPrograms& named, const PlanEntry& entry, bool terminate,
              LaunchPlatform& platform, std::vector<GracedCompanion>& graced) {
  FollowNewcomers(named, platform);
  for (FollowedProgram& program : named.followed) {
    if (terminate && entry.graceSeconds == 0) {
      platform.EndFollowed(program);
    } else {
      AskToClose(std::move(program), entry.graceSeconds, platform, graced);
    }
  }
}

// Terminate entries without a grace are ended at once; with one they are
// asked to close like close entries. Then every grace is seen out. Each slot
// is taken out of `held` when its entry's turn comes, and what it holds is
// let go of when that turn ends, unless a grace keeps it.
void EndCompanions(const LaunchPlan& plan, HeldCompanions& held, LaunchPlatform& platform) {
  std::vector<GracedCompanion> graced;
  for (std::size_t i = 0; i < plan.terminate.size(); ++i) {
    TerminateSlot slot = std::move(held.terminate[i]);
    if (ProcessHandle* handle = std::get_if<ProcessHandle>(&slot)) {
      if (*handle) platform.ForcedEnd(std::move(*handle));
      continue;
    }
    if (NamedPrograms* named = std::get_if<NamedPrograms>(&slot)) {
      EndNamed(*named, plan.terminate[i], true, platform, graced);
      continue;
    }
    FollowedProgram& followed = std::get<FollowedProgram>(slot);
    if (!followed) continue;
    if (plan.terminate[i].graceSeconds > 0) {
      AskToClose(std::move(followed), plan.terminate[i].graceSeconds, platform, graced);
    } else {
      platform.EndFollowed(followed);
    }
  }
  for (std::size_t i = 0; i < plan.close.size(); ++i) {
    CloseSlot slot = std::move(held.close[i]);
    if (ProcessHandle* handle = std::get_if<ProcessHandle>(&slot)) {
      if (*handle) platform.CloseRequest(std::move(*handle));
      continue;
    }
    if (NamedPrograms* named = std::get_if<NamedPrograms>(&slot)) {
      EndNamed(*named, plan.close[i], false, platform, graced);
      continue;
    }
    FollowedProgram& followed = std::get<FollowedProgram>(slot);
    if (followed) AskToClose(std::move(followed), plan.close[i].graceSeconds, platform, graced);
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
  if (plan.waited && !platform.SessionIsEnding()) RunWait(*plan.waited, platform);
  // Once Windows ends the session it ends every program of it: the
  // companions are left to it, and no after program is cut off halfway.
  if (platform.SessionIsEnding()) return;
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
  std::size_t trees = plan.waited && isTree(*plan.waited) ? 1 : 0;
  for (const auto* list : {&plan.before, &plan.terminate, &plan.after}) {
    trees += static_cast<std::size_t>(std::count_if(list->begin(), list->end(), isTree));
  }
  return trees;
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
