#include "launcher/win/process_control.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "common/failure.h"
#include "common/win/error_msg.h"
#include "common/win/win_text.h"
#include "launcher/launcher_identity.h"
#include "launcher/win/launcher_window.h"

namespace kelmo {

HWND hFoundWnd = nullptr;

namespace {

// Every GUI process owns a hidden input-method window; it never is the
// program's own window, so WM_CLOSE sent there would be lost.
bool IsInputMethodWindow(HWND hwnd) {
  char className[32] = {};
  GetClassNameA(hwnd, className, sizeof(className));
  return std::strcmp(className, "IME") == 0 || std::strcmp(className, "MSCTFIME UI") == 0;
}

// Reports the failure being handled; call it only inside a catch block.
void ReportCaught(std::wstring_view place) { ErrorMsg(kLauncherProgram, place, CurrentFailure()); }

}  // namespace

AnsiProgram::AnsiProgram(const ExeArgs& program)
    : file(ToAnsiForProgram(program.file)),
      parameters(ToAnsiForProgram(program.parameters.value_or(L""))),
      hasParameters(program.parameters.has_value()) {}

SHELLEXECUTEINFOA FillShellExecuteRecord(HWND owner, const char* file, const char* parameters,
                                         int showMode) {
  SHELLEXECUTEINFOA record;
  std::memset(&record, 0, sizeof(record));
  record.cbSize = sizeof(record);
  record.fMask = SEE_MASK_NOCLOSEPROCESS;
  record.hwnd = owner;
  record.lpVerb = "open";
  record.lpFile = file;
  record.lpParameters = parameters;
  record.lpDirectory = nullptr;
  record.nShow = showMode;
  return record;
}

HANDLE ShellStartHoldingProcess(HWND owner, const AnsiProgram& program, int showMode, bool quiet) {
  SHELLEXECUTEINFOA record =
      FillShellExecuteRecord(owner, program.file.c_str(), program.Parameters(), showMode);
  if (quiet) record.fMask |= SEE_MASK_FLAG_NO_UI;
  ShellExecuteExA(&record);
  return record.hProcess;
}

BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->processId) return TRUE;
  if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr) {
    hFoundWnd = hwnd;
    return FALSE;
  }
  if (search->fallback == nullptr && !IsInputMethodWindow(hwnd)) search->fallback = hwnd;
  return TRUE;
}

std::wstring ImagePathOf(HANDLE process) {
  std::wstring path(MAX_PATH, L'\0');
  for (DWORD size = static_cast<DWORD>(path.size());
       !QueryFullProcessImageNameW(process, 0, path.data(), &size);
       size = static_cast<DWORD>(path.size())) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) return L"";
    path.resize(path.size() * 2);
  }
  return path.c_str();
}

void AnswerSentMessages() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

DWORD WaitHandlingSentMessages(DWORD count, HANDLE* handles, DWORD timeoutMs) {
  const DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, timeoutMs, QS_SENDMESSAGE);
  if (result == WAIT_OBJECT_0 + count) AnswerSentMessages();
  return result;
}

void DetachedStart(HWND owner, const ExeArgs& program, int showMode) {
  const AnsiProgram ansi(program);
  ShellExecuteA(owner, "open", ansi.file.c_str(), ansi.Parameters(), nullptr, showMode);
}

void DetachedStartShowingFailure(HWND owner, const ExeArgs& program, int showMode) {
  const AnsiProgram ansi(program);
  SHELLEXECUTEINFOA record =
      FillShellExecuteRecord(owner, ansi.file.c_str(), ansi.Parameters(), showMode);
  // No process handle; a start through DDE finishes before the call returns.
  record.fMask = SEE_MASK_NOASYNC;
  ShellExecuteExA(&record);
}

HANDLE ExecProcess(HWND owner, const ExeArgs& program, int showMode) {
  try {
    return ShellStartHoldingProcess(owner, AnsiProgram(program), showMode);
  } catch (...) {
    ReportCaught(L"frmMain!ExecProcess");
    return nullptr;
  }
}

void WaitForProcessToEnd(HWND owner, const ExeArgs& program, int showMode) {
  HANDLE process = nullptr;
  try {
    process = ShellStartHoldingProcess(owner, AnsiProgram(program), showMode);
  } catch (...) {
    ReportCaught(L"frmMain!WaitForProcessToEnd");
  }
  if (process == nullptr) return;
  while (WaitHandlingSentMessages(1, &process, INFINITE) == WAIT_OBJECT_0 + 1 &&
         !SessionIsEnding(owner)) {
  }
  CloseHandle(process);
}

PROCESS_INFORMATION CreateCommandLineProcess(const std::wstring& commandLine, int windowStyle,
                                             DWORD creationFlags) {
  std::string mutableLine = ToAnsiForProgram(commandLine);  // CreateProcessA may write into it
  std::vector<char> buffer(mutableLine.begin(), mutableLine.end());
  buffer.push_back('\0');

  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof(startup));
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION created;
  std::memset(&created, 0, sizeof(created));

  BOOL made = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, creationFlags,
                             nullptr, nullptr, &startup, &created);
  if (!made && (creationFlags & CREATE_BREAKAWAY_FROM_JOB) != 0 &&
      GetLastError() == ERROR_ACCESS_DENIED) {
    // The launcher's own job lets no process leave it: the new one stays in it.
    made = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                          creationFlags & ~static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB), nullptr,
                          nullptr, &startup, &created);
  }
  if (!made) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_NAME) {
      throw Failure(kPathError, L"ファイルが見つかりません。");
    }
    throw Failure(static_cast<std::int32_t>(error), L"プログラムを起動できませんでした。");
  }
  return created;
}

HANDLE CommandLineStart(const std::wstring& commandLine, int windowStyle) {
  const PROCESS_INFORMATION created = CreateCommandLineProcess(commandLine, windowStyle, 0);
  CloseHandle(created.hThread);
  return created.hProcess;
}

void ForcedEnd(HANDLE process) {
  if (process == nullptr) return;
  TerminateProcess(process, 0);
  CloseHandle(process);
}

void CloseRequest(HANDLE process, bool hiddenFallback) {
  hFoundWnd = nullptr;
  if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return;
  WindowSearch search;
  search.processId = GetProcessId(process);
  EnumWindows(EnumWindowsProc, reinterpret_cast<LPARAM>(&search));
  if (hFoundWnd == nullptr && hiddenFallback) hFoundWnd = search.fallback;
  if (hFoundWnd != nullptr) PostMessageA(hFoundWnd, WM_CLOSE, 0, 0);
}

}  // namespace kelmo
