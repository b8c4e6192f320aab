// A start through the shell whose program, and everything that program
// starts, belongs to a job from its first instruction. The shell creates its
// process itself, running, so the launcher cannot put it into a job before it
// runs; processes are born in their creator's job, though. So the launcher
// lets a short-lived copy of itself, created suspended and put into the job,
// make the very shell call the launcher would make, hand back what the shell
// gave and end. Win32 only.
#pragma once

#include <windows.h>

#include <optional>

#include "common/win/win_handle.h"
#include "launcher/win/process_control.h"

namespace kelmo {

namespace shell_start_detail {
inline void UnmapView(void* view) { UnmapViewOfFile(view); }
}  // namespace shell_start_detail
using MappedView = ScopedResource<void*, shell_start_detail::UnmapView>;

// A copy of the launcher that makes one shell call inside a job. It is made
// ahead of the call: created suspended, put into the job and let start up, it
// waits for the call's texts, so that its start-up overlaps the launcher's
// own work before the start it serves.
class ShellStartCopy {
 public:
  // Makes the copy in `job`; nullopt, having started nothing, when it cannot
  // be made or put into the job.
  static std::optional<ShellStartCopy> Start(HANDLE job);
  ShellStartCopy(ShellStartCopy&&) noexcept = default;
  ShellStartCopy& operator=(ShellStartCopy&&) noexcept = default;
  ShellStartCopy(const ShellStartCopy&) = delete;
  ShellStartCopy& operator=(const ShellStartCopy&) = delete;
  // A copy that was given no call is told to end.
  ~ShellStartCopy();

  // Has the copy make the shell's "open" of `program` (the owner window, the
  // show mode, no folder, SEE_MASK_NOCLOSEPROCESS, as ShellStartHoldingProcess
  // makes it) and waits until the copy has ended, as long as the call takes
  // (the shell's own boxes and prompts included). Gives the shell's process
  // handle, or an empty handle when the shell gave none; nullopt, having
  // started nothing, when the copy could not be given the call or ended
  // without taking it (ended from outside while it waited). `quiet` as for
  // ShellStartHoldingProcess.
  std::optional<UniqueHandle> MakeShellStart(HWND owner, const AnsiProgram& program, int showMode,
                                             bool quiet = false);

 private:
  ShellStartCopy() = default;

  UniqueHandle section_;
  MappedView view_;
  UniqueHandle call_;      // set when the call's texts are in the section
  UniqueHandle launcher_;  // this process, for the copy to hand the shell's process to
  UniqueHandle copy_;
};

// Called first thing in kelmoPro's WinMain. When this process is such a
// copy, makes the shell call it was given, hands the process back and gives
// the exit code to end with; nullopt for every other start of the launcher.
std::optional<int> RunAsShellStartCopy();

}  // namespace kelmo
