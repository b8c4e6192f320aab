#include "launcher/win/followed_program.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "launcher/image_subsystem.h"
#include "launcher/win/launcher_window.h"
#include "launcher/win/process_control.h"
#include "launcher/win/shell_start_in_job.h"

namespace kelmo {

namespace {

// How often a wait that involves a tree looks at the tree again.
constexpr DWORD kTreeLookMs = 100;
// How often a process the launcher may not open is looked up again.
constexpr DWORD kLookUpMs = 500;
// The longest a message sent to the launcher's window waits for an answer
// while the launcher waits for a tree's end on its completion port.
constexpr DWORD kPortSliceMs = 50;
// How often a wait for readiness looks for a window: well within the time
// one process start takes, so the next start is not held back noticeably.
constexpr DWORD kReadyLookMs = 10;

// A job that lets its processes start programs outside it only when they
// ask for that themselves. Closing it ends nothing: companions left running
// outlive the launcher.
UniqueHandle MakeTreeJob() {
  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job) return job;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
  SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
  return job;
}

// Lets a process created suspended run, inside a job of its own when one can
// be made and joined, else on its own.
FollowedProcess RunInTree(const PROCESS_INFORMATION& created) {
  UniqueHandle process(created.hProcess);
  UniqueHandle thread(created.hThread);
  UniqueHandle job = MakeTreeJob();
  if (job && !AssignProcessToJobObject(job.get(), process.get())) job.reset();
  ResumeThread(thread.get());
  return FollowedProcess(std::move(process), std::move(job));
}

// A port that the job tells about its processes, for one wait on its end;
// empty when it cannot be made. A job takes only one port in its life, and
// only a waited tree needs one: a companion's tree that starts processes
// for hours piles up no notifications.
UniqueHandle PortForTheEndOf(HANDLE job) {
  UniqueHandle port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {};
  association.CompletionKey = job;
  association.CompletionPort = port.get();
  if (port && !SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation,
                                       &association, sizeof(association))) {
    port.reset();
  }
  return port;
}

DWORD ActiveProcesses(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
  if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                 sizeof(accounting), nullptr)) {
    return 0;
  }
  return accounting.ActiveProcesses;
}

// The ids of the processes that run in `job` now, oldest first.
std::vector<DWORD> ProcessesIn(HANDLE job) {
  constexpr std::size_t kHeaderSlots =
      offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList) / sizeof(ULONG_PTR);
  std::size_t slots = 64;
  while (true) {
    std::vector<ULONG_PTR> buffer(kHeaderSlots + slots);
    const std::size_t bytes = buffer.size() * sizeof(ULONG_PTR);
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, list, static_cast<DWORD>(bytes),
                                  nullptr)) {
      return std::vector<DWORD>(list->ProcessIdList,
                                list->ProcessIdList + list->NumberOfProcessIdsInList);
    }
    if (GetLastError() != ERROR_MORE_DATA || list->NumberOfAssignedProcesses < slots) return {};
    slots = list->NumberOfAssignedProcesses + 16;  // room for processes started meanwhile
  }
}

// What FindVisibleWindow looks for: a visible top-level window of one of
// these processes.
struct WindowOwners {
  std::vector<DWORD> processIds;
  bool found = false;
};

// DWM keeps some windows cloaked (a suspended app's, one on another virtual
// desktop): IsWindowVisible says yes, yet the window is not on the screen.
// dwmapi is looked up only when needed: it is not on every system.
bool IsCloaked(HWND window) {
  using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const auto getAttribute = reinterpret_cast<GetAttribute>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryW(L"dwmapi.dll"), "DwmGetWindowAttribute")));
  constexpr DWORD kDwmCloaked = 14;  // DWMWA_CLOAKED, Windows 8 and later
  DWORD cloaked = 0;
  return getAttribute != nullptr &&
         SUCCEEDED(getAttribute(window, kDwmCloaked, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowOwners*>(lParam);
  if (!IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  const auto& ids = search->processIds;
  search->found = std::find(ids.begin(), ids.end(), owner) != ids.end() && !IsCloaked(window);
  return search->found ? FALSE : TRUE;
}

// The process runs a console program: its image file asks for the console
// subsystem.
bool RunsConsoleImage(HANDLE process) {
  const std::wstring path = ImagePathOf(process);
  if (path.empty()) return false;
  const UniqueHandle image(CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  std::string head(4096, '\0');
  DWORD read = 0;
  if (!image ||
      !ReadFile(image.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) {
    return false;
  }
  head.resize(read);
  return ImageSubsystem(head) == kConsoleSubsystem;
}

}  // namespace

FollowedProcess::FollowedProcess(UniqueHandle process, UniqueHandle job)
    : process_(std::move(process)), job_(std::move(job)) {}

FollowedProcess FollowedProcess::LookedUp(DWORD id, std::wstring imageName) {
  FollowedProcess program{UniqueHandle(), UniqueHandle()};
  program.lookedUpId_ = id;
  program.lookedUpName_ = std::move(imageName);
  return program;
}

bool FollowedProcess::IsRunning() const {
  if (job_) return ActiveProcesses(job_.get()) > 0;
  if (!process_) {
    if (GetTickCount64() - lookedUpAt_ < kLookUpMs) return listed_;
    lookedUpAt_ = GetTickCount64();
    listed_ = false;
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more && !listed_;
         more = Process32NextW(snapshot.get(), &entry)) {
      listed_ = entry.th32ProcessID == lookedUpId_ && lookedUpName_ == entry.szExeFile;
    }
    return listed_;
  }
  return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void FollowedProcess::WaitToEnd(HWND window) const {
  if (!job_) {
    HANDLE process = process_.get();
    while (WaitHandlingSentMessages(1, &process, INFINITE) == WAIT_OBJECT_0 + 1 &&
           !SessionIsEnding(window)) {
    }
    return;
  }
  // A job signals nothing when its last process goes; its port is told. The
  // port is read in slices, between which the sent messages are answered,
  // and the count is looked at after every packet and every slice, so a
  // tree that ended before the port was made, or a lost packet, cannot hang
  // the launcher.
  const UniqueHandle port = PortForTheEndOf(job_.get());
  while (IsRunning() && !SessionIsEnding(window)) {
    if (!port) {
      WaitHandlingSentMessages(0, nullptr, kTreeLookMs);
      continue;
    }
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED detail = nullptr;
    GetQueuedCompletionStatus(port.get(), &message, &key, &detail, kPortSliceMs);
    AnswerSentMessages();
  }
}

void FollowedProcess::End() const {
  // Every process of a tree, its first one among them, is in its job. A
  // program the launcher may not end (it runs as administrator) is passed
  // over: nothing else is ended in its place.
  if (job_) {
    TerminateJobObject(job_.get(), 0);
  } else {
    TerminateProcess(process_.get(), 0);
  }
}

void FollowedProcess::AskToClose() const {
  if (!job_) {
    CloseRequest(process_.get(), true);
    return;
  }
  // The ids are a moment old: each is opened and confirmed inside the tree
  // before its windows are looked for, and held until the post.
  for (const DWORD processId : ProcessesIn(job_.get())) {
    UniqueHandle member(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!member) {
      member.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    }
    BOOL inTree = FALSE;
    if (member && IsProcessInJob(member.get(), job_.get(), &inTree) && inTree) {
      CloseRequest(member.get(), false);
    }
  }
}

bool FollowedProcess::ShowsWindow() const {
  WindowOwners search;
  if (job_) {
    search.processIds = ProcessesIn(job_.get());
  } else {
    search.processIds.push_back(GetProcessId(process_.get()));
  }
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool FollowedProcess::IsConsoleProgram() const {
  if (!console_) console_ = !job_ && process_ && RunsConsoleImage(process_.get());
  return *console_;
}

void FollowedProcess::WaitForReadiness(DWORD timeoutMs) const {
  // A window being shown signals nothing the launcher can wait on: a window
  // event hook reaches, under Wine, only programs that started after it. So
  // the caller looks again every kReadyLookMs; a single program's end wakes
  // the wait at once.
  HANDLE process = process_.get();
  WaitHandlingSentMessages(job_ || !process ? 0 : 1, &process, std::min(timeoutMs, kReadyLookMs));
}

void PauseHandlingSentMessages(HWND window, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (ULONGLONG now = GetTickCount64(); now < deadline && !SessionIsEnding(window);
       now = GetTickCount64()) {
    WaitHandlingSentMessages(0, nullptr, static_cast<DWORD>(deadline - now));
  }
}

std::optional<PreparedTree> PrepareTree() {
  UniqueHandle job = MakeTreeJob();
  if (!job) return std::nullopt;
  std::optional<ShellStartCopy> copy = ShellStartCopy::Start(job.get());
  return PreparedTree{std::move(job), std::move(copy)};
}

std::optional<FollowedProcess> StartFollowedProcess(HWND owner, const ExeArgs& program,
                                                    int showMode, std::optional<PreparedTree> tree,
                                                    bool quiet) {
  const AnsiProgram ansi(program);
  std::optional<UniqueHandle> started;
  if (tree && tree->copy) started = tree->copy->MakeShellStart(owner, ansi, showMode, quiet);
  if (!started) started.emplace(ShellStartHoldingProcess(owner, ansi, showMode, quiet));
  UniqueHandle process = std::move(*started);
  BOOL inTree = FALSE;
  if (tree && (process ? IsProcessInJob(process.get(), tree->job.get(), &inTree) && inTree
                       : ActiveProcesses(tree->job.get()) > 0)) {
    return FollowedProcess(std::move(process), std::move(tree->job));
  }
  if (!process) return std::nullopt;
  return FollowedProcess(std::move(process), UniqueHandle());
}

FollowedProcess CommandLineStartFollowedProcess(const std::wstring& commandLine, int windowStyle,
                                                bool wholeTree) {
  const PROCESS_INFORMATION created = CreateCommandLineProcess(
      commandLine, windowStyle, wholeTree ? CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB : 0);
  if (wholeTree) return RunInTree(created);
  CloseHandle(created.hThread);
  return FollowedProcess(UniqueHandle(created.hProcess), UniqueHandle());
}

void WaitForAnyFollowedProcess(const std::vector<const FollowedProcess*>& programs,
                               DWORD timeoutMs) {
  std::vector<HANDLE> handles;
  for (const FollowedProcess* program : programs) {
    // A tree, and programs beyond what one wait can take, are looked at in
    // slices; a program the launcher may not open is looked up again.
    const bool waitable = !program->followsTree() && program->process();
    if (waitable && handles.size() < MAXIMUM_WAIT_OBJECTS - 1) {
      handles.push_back(program->process());
    } else {
      timeoutMs = std::min(timeoutMs, waitable || program->followsTree() ? kTreeLookMs : kLookUpMs);
    }
  }
  WaitHandlingSentMessages(static_cast<DWORD>(handles.size()), handles.data(), timeoutMs);
}

}  // namespace kelmo
