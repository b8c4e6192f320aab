// The launcher's operations on other programs: start, wait, end, ask to close.
// Win32 only; every text is handed to the ANSI entry points in the system's
// code page, and a start whose file, parameters or command line that code
// page cannot hold exactly is not made: it fails with kTextNotInCodePage.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "launcher/split_exe_args.h"

namespace kelmo {

// The window found by the last close request's search; null before each search.
extern HWND hFoundWnd;

// What EnumWindowsProc receives through its application value.
struct WindowSearch {
  DWORD processId = 0;
  // The process's first top-level window that is not an input-method window,
  // used when it has no visible unowned one.
  HWND fallback = nullptr;
};

// Called by EnumWindows for each top-level window. Stops at the first visible
// window without an owner that belongs to the searched process and stores it
// in hFoundWnd; remembers the first other non-IME window of that process.
BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM lParam);

// ShellExecuteA "open"; nothing is held and the result is not looked at.
// Throws kelmo::Failure kTextNotInCodePage before any start.
void DetachedStart(HWND owner, const ExeArgs& program, int showMode);

// ShellExecuteExA "open", nothing held, for a program started as if it were
// double-clicked: without SEE_MASK_FLAG_NO_UI the shell shows its own box,
// owned by `owner`, when the program cannot be started. (DetachedStart's
// ShellExecuteA shows none under Wine, whose ShellExecute passes that flag.)
// With SEE_MASK_NOASYNC the start is complete when the call returns, so the
// caller may end right after it. Throws kelmo::Failure kTextNotInCodePage
// before any start.
void DetachedStartShowingFailure(HWND owner, const ExeArgs& program, int showMode);

// ShellExecuteExA; gives the new process's handle (the caller closes it) or
// null. A failure inside is reported as "frmMain!ExecProcess" and not passed on.
HANDLE ExecProcess(HWND owner, const ExeArgs& program, int showMode);

// ShellExecuteExA, then waits without a time-out for the process and closes
// its handle. Returns at once when no process handle came back. While it
// waits it answers the messages sent to the launcher's window `owner`, and
// it stops waiting once the session ends. A failure inside is reported as
// "frmMain!WaitForProcessToEnd" and not passed on.
void WaitForProcessToEnd(HWND owner, const ExeArgs& program, int showMode);

// The texts of one shell start in the ANSI code page, kept alive for the call.
// Throws kelmo::Failure kTextNotInCodePage rather than start a file or pass
// parameters other than the ones the launch item names.
struct AnsiProgram {
  explicit AnsiProgram(const ExeArgs& program);
  const char* Parameters() const { return hasParameters ? parameters.c_str() : nullptr; }

  std::string file;
  std::string parameters;
  bool hasParameters;
};

// SHELLEXECUTEINFOA for an "open" with SEE_MASK_NOCLOSEPROCESS, every other
// field zero; the text pointers must outlive the record's use.
SHELLEXECUTEINFOA FillShellExecuteRecord(HWND owner, const char* file, const char* parameters,
                                         int showMode);

// ShellExecuteExA "open" with SEE_MASK_NOCLOSEPROCESS; gives the record's
// hProcess (the caller closes it) or null. The start's own result is not
// looked at. `quiet` adds SEE_MASK_FLAG_NO_UI: the shell shows no error box,
// as for a detached start.
HANDLE ShellStartHoldingProcess(HWND owner, const AnsiProgram& program, int showMode,
                                bool quiet = false);

// CreateProcessA of a whole command line with `creationFlags`, its first
// window shown with `windowStyle`; the caller owns both handles. With
// CREATE_BREAKAWAY_FROM_JOB among the flags, a launcher inside a job that
// lets no process leave it creates the process inside that job instead.
// Throws as CommandLineStart does.
PROCESS_INFORMATION CreateCommandLineProcess(const std::wstring& commandLine, int windowStyle,
                                             DWORD creationFlags);

// CreateProcessA of a whole command line, its first window shown with
// `windowStyle`. Gives the new process's handle (the caller closes it), so
// that its id stays the process's own for as long as it is held. Throws
// Failure(kPathError) when the program file or its folder is not found,
// Failure(kTextNotInCodePage) before any start when the code page cannot
// hold the command line, Failure(kElevationRequired) when the program asks
// for administrator rights, another Failure for any other start failure.
HANDLE CommandLineStart(const std::wstring& commandLine, int windowStyle);

// Waits until one of the `count` `handles` is signalled, a message is sent to
// this thread (it is handled: a broadcast, or a box of another process that
// disables its owner, waits for the launcher's window), or `timeoutMs` have
// passed; gives what MsgWaitForMultipleObjects gave.
DWORD WaitHandlingSentMessages(DWORD count, HANDLE* handles, DWORD timeoutMs);

// TerminateProcess with exit code 0, then CloseHandle; null does nothing.
void ForcedEnd(HANDLE process);

// Posts WM_CLOSE to the main window of `process` if it still runs: its first
// visible top-level window without an owner, else, with `hiddenFallback`, its
// first top-level window that is not an input-method window. Posts nothing
// when it has none. The handle, which the caller holds until this returns,
// keeps the process's id from passing to another program meanwhile.
void CloseRequest(HANDLE process, bool hiddenFallback);

// The full path of the process's image file; empty when it cannot be read.
std::wstring ImagePathOf(HANDLE process);

// Handles the messages other threads have sent to this thread's windows,
// without taking any posted message.
void AnswerSentMessages();

}  // namespace kelmo
