// The launcher's one pass: read the launch command line, put the window out
// of sight, run every phase of the plan, end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/failure.h"
#include "launcher/launch_command_line.h"
#include "launcher/split_exe_args.h"

namespace kelmo {

// An open process handle as an opaque number; 0 is the null handle.
using ProcessHandle = std::uintptr_t;
// A process id; 0 is no process. Nothing is opened for it.
using ProcessId = std::uint32_t;
// A program held so that it can be followed: its process and, when its whole
// tree was asked for and the system allows it, every process it starts. An
// opaque number; 0 is none. Released exactly once by its holder.
using FollowedProgram = std::uintptr_t;

// The operations the run needs from the system. The Win32 implementation is
// launcher/win/launch_platform; tests use a recording fake.
class LaunchPlatform {
 public:
  virtual ~LaunchPlatform() = default;

  // Initialises COM for the thread, once, after the blank check and before
  // the window set-up: the shell hands documents, URLs and some file types to
  // COM objects. Kept until the platform goes.
  virtual void InitializeCom() = 0;

  // Window set-up, called in this order before anything is started.
  virtual void MoveWindowLeftOfScreen() = 0;
  virtual void ShowWindow() = 0;
  virtual void MinimizeWindow() = 0;
  virtual void HideWindow() = 0;

  // Start through the shell; nothing is held and the result is not looked at.
  virtual void DetachedStart(const ExeArgs& program, int showMode) = 0;
  // Start through the shell holding the process handle; 0 when no process
  // was created. The caller owns the handle. Reports its own failures.
  virtual ProcessHandle ExecProcess(const ExeArgs& program, int showMode) = 0;
  // Start a whole command line with a window style; gives the process id and
  // holds no handle. Throws Failure(kPathError) when the program is not found.
  virtual ProcessId CommandLineStart(const std::wstring& commandLine, int windowStyle) = 0;
  // Start through the shell and block until that process has ended. Reports
  // its own failures.
  virtual void WaitForProcessToEnd(const ExeArgs& program, int showMode) = 0;
  // TerminateProcess with exit code 0, then CloseHandle.
  virtual void ForcedEnd(ProcessHandle handle) = 0;
  // Post WM_CLOSE to the process's main top-level window, if it has one.
  virtual void CloseRequest(ProcessId processId) = 0;

  // Starts a program so that it can be followed (waited, terminated, items
  // with a grace or a whole tree); 0 when no process was created. With
  // `wholeTree`, every process it starts belongs to it from the start, or,
  // where the system cannot give that, it is followed as one process. Reports
  // its own failures under `place`.
  virtual FollowedProgram StartFollowed(const ExeArgs& program, int showMode, bool wholeTree,
                                        std::wstring_view place) = 0;
  // The command-line start of a close entry, holding it to be followed.
  // Throws as CommandLineStart does.
  virtual FollowedProgram CommandLineStartFollowed(const std::wstring& commandLine, int windowStyle,
                                                   bool wholeTree) = 0;
  // The close request for the followed program: with a tree, for every
  // process of it at this moment.
  virtual void CloseFollowed(FollowedProgram program) = 0;
  // Blocks until the program (with a tree, every process of it) has ended.
  virtual void WaitForFollowedToEnd(FollowedProgram program) = 0;
  // Whether the program (with a tree, any process of it) still runs.
  virtual bool FollowedIsRunning(FollowedProgram program) = 0;
  // Blocks until one of `programs` may have ended or `timeoutMs` have passed;
  // the caller looks again with FollowedIsRunning.
  virtual void WaitForAnyFollowed(const std::vector<FollowedProgram>& programs,
                                  std::uint32_t timeoutMs) = 0;
  // Ends the program (with a tree, all of it) by force with exit code 0.
  virtual void EndFollowed(FollowedProgram program) = 0;
  // Lets go of the program without ending it; closes what was held for it.
  virtual void ReleaseFollowed(FollowedProgram program) = 0;
  // Milliseconds of a clock that only moves forward, for the graces.
  virtual std::uint64_t NowMs() = 0;

  // "パス指定を一部間違っている可能性があります。" in a system-modal box.
  virtual void ShowPathErrorMessage() = 0;
  // The error report for a failure caught at `place`.
  virtual void ErrorMsg(std::wstring_view place, const Failure& failure) = 0;
};

// Window style for the command-line start: the show mode, except that 10
// (default) becomes 1 and 7 (minimized, not active) becomes 6.
int CommandLineWindowStyle(int showMode);

enum class RunOutcome {
  kBlankCommandLine,  // nothing shown, nothing started
  kCompleted,
  kPathError,  // stopped at a close-list entry whose program was not found
  kFailed,     // stopped by another failure, reported as "Form_Load"
};

RunOutcome RunLaunch(std::wstring_view argumentText, LaunchPlatform& platform);

// How many waited and terminate entries with g the plan starts: their trees
// start through the shell, which takes some making ready.
std::size_t TreeStartsThroughTheShell(const LaunchPlan& plan);

}  // namespace kelmo
