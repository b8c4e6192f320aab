// The launcher's one pass: read the launch command line, put the window out
// of sight, run every phase of the plan, end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "launcher/launch_command_line.h"
#include "launcher/program_name.h"
#include "launcher/split_exe_args.h"

namespace kelmo {

class LaunchPlatform;

// Something the platform holds for the run (an open handle, a followed
// program), known to the run by the number the platform gave it; 0 is
// nothing held. Move-only: it has one owner, and when that owner goes, the
// platform is told once (`LetGo`) to let go of it. The platform must outlive
// it.
template <void (*LetGo)(LaunchPlatform&, std::uintptr_t)>
class PlatformHold {
 public:
  PlatformHold() = default;
  // Made by the platform for what it now holds under `number`.
  PlatformHold(LaunchPlatform& platform, std::uintptr_t number)
      : platform_(&platform), number_(number) {}
  PlatformHold(PlatformHold&& other) noexcept
      : platform_(other.platform_), number_(other.release()) {}
  PlatformHold& operator=(PlatformHold&& other) noexcept {
    if (this != &other) {
      LetGoOfHeld();
      platform_ = other.platform_;
      number_ = other.release();
    }
    return *this;
  }
  PlatformHold(const PlatformHold&) = delete;
  PlatformHold& operator=(const PlatformHold&) = delete;
  ~PlatformHold() { LetGoOfHeld(); }

  std::uintptr_t get() const { return number_; }
  explicit operator bool() const { return number_ != 0; }
  // Gives the number up without letting go: for the platform, when one of
  // its operations takes what is held over.
  std::uintptr_t release() { return std::exchange(number_, 0); }

 private:
  void LetGoOfHeld() {
    if (number_ != 0) LetGo(*platform_, release());
  }

  LaunchPlatform* platform_ = nullptr;
  std::uintptr_t number_ = 0;
};

namespace launch_platform_detail {
inline void CloseProcessHandle(LaunchPlatform& platform, std::uintptr_t handle);
inline void ReleaseFollowed(LaunchPlatform& platform, std::uintptr_t program);
}  // namespace launch_platform_detail

// An open process handle; empty is the null handle. Closed when it goes,
// unless ForcedEnd or CloseRequest took it over. While it is open, the
// process's id cannot pass to another program.
using ProcessHandle = PlatformHold<&launch_platform_detail::CloseProcessHandle>;
// A program held so that it can be followed: its process and, when its whole
// tree was asked for and the system allows it, every process it starts; empty
// when no process was created. When it goes, the platform lets go of it
// without ending it.
using FollowedProgram = PlatformHold<&launch_platform_detail::ReleaseFollowed>;

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
  // The same start, holding the program (with `wholeTree`, every process it
  // starts) for a pause after it; empty when no process was created. Shows
  // and reports nothing, and throws what DetachedStart throws.
  virtual FollowedProgram HeldStart(const ExeArgs& program, int showMode, bool wholeTree) = 0;
  // Start through the shell holding the process handle; empty when no
  // process was created. Reports its own failures.
  virtual ProcessHandle ExecProcess(const ExeArgs& program, int showMode) = 0;
  // Start a whole command line with a window style, holding its process.
  // Throws Failure(kPathError) when the program is not found, and
  // Failure(kElevationRequired) when it asks for administrator rights.
  virtual ProcessHandle CommandLineStart(const std::wstring& commandLine, int windowStyle) = 0;
  // Start through the shell and block until that process has ended, or
  // until the session ends. Reports its own failures.
  virtual void WaitForProcessToEnd(const ExeArgs& program, int showMode) = 0;
  // Takes the handle over: TerminateProcess with exit code 0, then CloseHandle.
  virtual void ForcedEnd(ProcessHandle handle) = 0;
  // Takes the handle over: when the process still runs, posts WM_CLOSE to
  // its main top-level window, if it has one; then CloseHandle.
  virtual void CloseRequest(ProcessHandle handle) = 0;

  // Starts a program so that it can be followed (waited, terminated, items
  // with a grace or a whole tree); empty when no process was created. With
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
  virtual void CloseFollowed(const FollowedProgram& program) = 0;
  // Blocks until the program (with a tree, every process of it) has ended,
  // or until the session ends.
  virtual void WaitForFollowedToEnd(const FollowedProgram& program) = 0;
  // Whether the program (with a tree, any process of it) still runs.
  virtual bool FollowedIsRunning(const FollowedProgram& program) = 0;
  // Blocks until one of `programs` may have ended or `timeoutMs` have passed;
  // the caller looks again with FollowedIsRunning.
  virtual void WaitForAnyFollowed(const std::vector<const FollowedProgram*>& programs,
                                  std::uint32_t timeoutMs) = 0;
  // Ends the program (with a tree, all of it) by force with exit code 0.
  virtual void EndFollowed(const FollowedProgram& program) = 0;
  // Whether the program (with a tree, any process of it) shows a top-level
  // window that is on the screen: visible, and not kept cloaked.
  virtual bool FollowedShowsWindow(const FollowedProgram& program) = 0;
  // Whether the program's image is a console program, which may never get a
  // window of its own (Windows Terminal draws its console).
  virtual bool FollowedIsConsoleProgram(const FollowedProgram& program) = 0;
  // Blocks until the program may have shown a window or ended, or
  // `timeoutMs` have passed; the caller looks again.
  virtual void WaitForReadiness(const FollowedProgram& program, std::uint32_t timeoutMs) = 0;
  // Blocks for `timeoutMs`, or until the session ends: a plain pause between
  // two starts.
  virtual void Pause(std::uint32_t timeoutMs) = 0;
  // Whether Windows is ending the session (the user signs out, or the
  // system shuts down): from then on the run starts nothing. Every wait
  // above answers the messages sent to the launcher's window meanwhile, so
  // that it learns of the end and no other program hangs on it.
  virtual bool SessionIsEnding() = 0;
  // Milliseconds of a clock that only moves forward, for the graces.
  virtual std::uint64_t NowMs() = 0;

  // For programs followed by name. The processes that run now and were
  // created after the launcher itself started.
  virtual std::vector<RunningProcess> NewerProcesses() = 0;
  // Holds `process` to be followed, by a handle or, where the launcher may
  // not open it, by looking it up again (it is then never asked to close or
  // ended); empty when it has ended or its id names another process by now.
  virtual FollowedProgram FollowProcess(const RunningProcess& process) = 0;
  // The value of an environment variable, or nullopt when it is not set.
  virtual std::optional<std::wstring> EnvironmentVariable(std::wstring_view name) = 0;
  // The long form of a path that exists (a folder's with its backslash),
  // else the path as given.
  virtual std::wstring LongPathForm(const std::wstring& path) = 0;

  // "パス指定を一部間違っている可能性があります。" in a system-modal box.
  virtual void ShowPathErrorMessage() = 0;
  // The error report for a failure caught at `place`.
  virtual void ErrorMsg(std::wstring_view place, const Failure& failure) = 0;

 private:
  // Called only by the holds, when they go.
  friend void launch_platform_detail::CloseProcessHandle(LaunchPlatform&, std::uintptr_t);
  friend void launch_platform_detail::ReleaseFollowed(LaunchPlatform&, std::uintptr_t);
  // CloseHandle, leaving the process running.
  virtual void CloseProcessHandle(std::uintptr_t handle) = 0;
  // Lets go of the program without ending it; closes what was held for it.
  virtual void ReleaseFollowed(std::uintptr_t program) = 0;
};

inline void launch_platform_detail::CloseProcessHandle(LaunchPlatform& platform,
                                                       std::uintptr_t handle) {
  platform.CloseProcessHandle(handle);
}
inline void launch_platform_detail::ReleaseFollowed(LaunchPlatform& platform,
                                                    std::uintptr_t program) {
  platform.ReleaseFollowed(program);
}

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

// How many entries the plan starts as whole trees through the shell (waited
// and terminate entries with g, and held before and after entries with g):
// their starts take some making ready.
std::size_t TreeStartsThroughTheShell(const LaunchPlan& plan);

}  // namespace kelmo
