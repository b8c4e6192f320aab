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

#include "common/win_handle.h"
#include "launcher/process_control.h"

namespace kelmo {

// Makes the shell's "open" of `program` (the owner window, the show mode, no
// folder, SEE_MASK_NOCLOSEPROCESS, as ShellStartHoldingProcess makes it) in a
// copy of the launcher running in `job`, and waits until the copy has ended,
// as long as the shell call takes (its own boxes and prompts included).
// Gives the shell's process handle, or an empty handle when the shell gave
// none. Gives nullopt, having started nothing, when the copy cannot be made
// or put into the job: the caller then makes the start itself.
std::optional<UniqueHandle> ShellStartInJob(HWND owner, const AnsiProgram& program, int showMode,
                                            HANDLE job);

// Called first thing in kelmoPro's WinMain. When this process is such a
// copy, makes the shell call it was given, hands the process back and gives
// the exit code to end with; nullopt for every other start of the launcher.
std::optional<int> RunAsShellStartCopy();

}  // namespace kelmo
