// A started program held so that the launcher can tell when it has ended, ask
// it to close and end it: one process, or, through a job object, the program
// together with every process it starts. Win32 only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/win/win_handle.h"
#include "launcher/split_exe_args.h"
#include "launcher/win/shell_start_in_job.h"

namespace kelmo {

class FollowedProcess {
 public:
  // Takes ownership of `process`; `job` is empty when only this one process
  // is followed.
  FollowedProcess(UniqueHandle process, UniqueHandle job);
  // A process the launcher may not open, followed by looking its id and
  // image file name up in the process list again, at most every 500 ms. It
  // is never asked to close or ended: the system would refuse both.
  static FollowedProcess LookedUp(DWORD id, std::wstring imageName);

  bool followsTree() const { return static_cast<bool>(job_); }
  // The program's first process (with a tree: any process of the tree) runs.
  bool IsRunning() const;
  // Blocks until IsRunning() is false or the session ends, answering the
  // messages sent to the launcher's `window` meanwhile.
  void WaitToEnd(HWND window) const;
  // Ends the process (with a tree: every process of the tree), exit code 0.
  // A program the launcher may not end is left as it is.
  void End() const;
  // The close request for the process, or for every process of the tree at
  // this moment, each to the window CloseRequest chooses for it. A process
  // of the tree gets it only on a visible window, and only once it has been
  // opened and found still inside the tree.
  void AskToClose() const;
  // The program (with a tree: any process of the tree) shows a top-level
  // window on the screen: visible, and not cloaked by the window manager.
  bool ShowsWindow() const;
  // The program, followed alone, is a console program. A tree is not: it is
  // ready by a window of any of its processes.
  bool IsConsoleProgram() const;
  // Blocks until a window may have been shown or the program may have ended,
  // at most `timeoutMs`, handling the messages sent to the launcher's window
  // meanwhile; the caller looks again.
  void WaitForReadiness(DWORD timeoutMs) const;
  // The process the start gave; with a tree it may be empty (the shell
  // started a shortcut's target) or long gone.
  HANDLE process() const { return process_.get(); }

 private:
  UniqueHandle process_;
  UniqueHandle job_;
  mutable std::optional<bool> console_;  // looked up from the image once
  DWORD lookedUpId_ = 0;
  std::wstring lookedUpName_;
  mutable ULONGLONG lookedUpAt_ = 0;
  mutable bool listed_ = true;
};

// A job for a tree, and a copy of the launcher already starting up inside
// it (when one could be made), prepared ahead of the start it serves.
struct PreparedTree {
  UniqueHandle job;
  std::optional<ShellStartCopy> copy;
};
// Nullopt when no job can be made.
std::optional<PreparedTree> PrepareTree();

// Starts `program` through the shell for a waited or terminate entry, as
// ExecProcess does. With a `tree`, its copy makes the shell call inside the
// tree's job, so that everything it starts belongs to the tree from its first
// instruction, and the tree is the job: a shortcut's target, too. A process
// the shell gives that is not in the job (a program elevated through the
// consent prompt) is followed alone, as is every start without a tree or
// whose tree has no copy (a launcher inside a job that forbids it). Gives
// nullopt when no process was created, or with a tree when the shell gave no
// process and nothing runs in the job (a document handed to a running
// program). Throws kelmo::Failure kTextNotInCodePage before any start.
// `quiet` as for ShellStartHoldingProcess.
std::optional<FollowedProcess> StartFollowedProcess(HWND owner, const ExeArgs& program,
                                                    int showMode, std::optional<PreparedTree> tree,
                                                    bool quiet = false);

// The command-line start of a close entry, holding its process; with
// `wholeTree` created suspended and put into a job as above. Throws as
// CommandLineStart does.
FollowedProcess CommandLineStartFollowedProcess(const std::wstring& commandLine, int windowStyle,
                                                bool wholeTree);

// Blocks until one of `programs` may have ended, a message was sent to the
// launcher's window (it is answered), or `timeoutMs` have passed. A tree has
// no one object that signals its end, so with a tree among them the wait is
// cut into short slices.
void WaitForAnyFollowedProcess(const std::vector<const FollowedProcess*>& programs,
                               DWORD timeoutMs);

// Blocks for `timeoutMs`, or until the session ends, while handling the
// messages other threads send to the launcher's `window`, so that a
// broadcast never waits on a pause.
void PauseHandlingSentMessages(HWND window, DWORD timeoutMs);

}  // namespace kelmo
