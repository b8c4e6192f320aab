#include "launcher/win/followed_program.h"

#include <algorithm>
#include <cstddef>

#include "launcher/win/process_control.h"
#include "launcher/win/shell_start_in_job.h"

namespace kelmo {

namespace {

// How often a wait that involves a tree looks at the tree again.
constexpr DWORD kTreeLookMs = 100;
// How often a wait for readiness looks for a window: well within the time
// one process start takes, so the next start is not held back noticeably.
constexpr DWORD kReadyLookMs = 10;

// A job that lets its processes start programs outside it only when they
// ask for that themselves, and that tells `port` about its processes.
// Closing it ends nothing: companions left running outlive the launcher.
struct TreeJob {
  UniqueHandle job;
  UniqueHandle port;
};

std::optional<TreeJob> MakeTreeJob() {
  TreeJob tree{UniqueHandle(CreateJobObjectW(nullptr, nullptr)),
               UniqueHandle(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1))};
  if (!tree.job || !tree.port) return std::nullopt;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
  SetInformationJobObject(tree.job.get(), JobObjectExtendedLimitInformation, &limits,
                          sizeof(limits));
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {};
  association.CompletionKey = tree.job.get();
  association.CompletionPort = tree.port.get();
  if (!SetInformationJobObject(tree.job.get(), JobObjectAssociateCompletionPortInformation,
                               &association, sizeof(association))) {
    return std::nullopt;
  }
  return tree;
}

// Lets a process created suspended run, inside a job of its own when one can
// be made and joined, else on its own.
FollowedProcess RunInTree(const PROCESS_INFORMATION& created) {
  UniqueHandle process(created.hProcess);
  UniqueHandle thread(created.hThread);
  std::optional<TreeJob> tree = MakeTreeJob();
  if (tree && !AssignProcessToJobObject(tree->job.get(), process.get())) tree.reset();
  ResumeThread(thread.get());
  if (!tree) return FollowedProcess(std::move(process), UniqueHandle(), UniqueHandle());
  return FollowedProcess(std::move(process), std::move(tree->job), std::move(tree->port));
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

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowOwners*>(lParam);
  if (!IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  const auto& ids = search->processIds;
  search->found = std::find(ids.begin(), ids.end(), owner) != ids.end();
  return search->found ? FALSE : TRUE;
}

}  // namespace

FollowedProcess::FollowedProcess(UniqueHandle process, UniqueHandle job, UniqueHandle port)
    : process_(std::move(process)), job_(std::move(job)), port_(std::move(port)) {}

bool FollowedProcess::IsRunning() const {
  if (job_) return ActiveProcesses(job_.get()) > 0;
  return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void FollowedProcess::WaitToEnd() const {
  if (!job_) {
    WaitForSingleObject(process_.get(), INFINITE);
    return;
  }
  // The port wakes the wait when the last process goes; the count is looked
  // at again now and then as well, so a lost message cannot hang the launcher.
  while (IsRunning()) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED detail = nullptr;
    GetQueuedCompletionStatus(port_.get(), &message, &key, &detail, 1000);
  }
}

void FollowedProcess::End() const {
  if (job_) TerminateJobObject(job_.get(), 0);
  if (process_) TerminateProcess(process_.get(), 0);
}

void FollowedProcess::AskToClose() const {
  if (!job_) {
    CloseRequest(GetProcessId(process_.get()));
    return;
  }
  for (const DWORD processId : ProcessesIn(job_.get())) CloseRequest(processId);
}

bool FollowedProcess::IsReady() const {
  if (!IsRunning()) return true;
  WindowOwners search;
  if (job_) {
    search.processIds = ProcessesIn(job_.get());
  } else {
    search.processIds.push_back(GetProcessId(process_.get()));
  }
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void FollowedProcess::WaitForReadiness(DWORD timeoutMs) const {
  // A window being shown signals nothing the launcher can wait on: a window
  // event hook reaches, under Wine, only programs that started after it. So
  // the caller looks again every kReadyLookMs; a single program's end wakes
  // the wait at once.
  HANDLE process = process_.get();
  WaitHandlingSentMessages(job_ || !process ? 0 : 1, &process, std::min(timeoutMs, kReadyLookMs));
}

void PauseHandlingSentMessages(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    WaitHandlingSentMessages(0, nullptr, static_cast<DWORD>(deadline - now));
  }
}

std::optional<PreparedTree> PrepareTree() {
  std::optional<TreeJob> tree = MakeTreeJob();
  if (!tree) return std::nullopt;
  std::optional<ShellStartCopy> copy = ShellStartCopy::Start(tree->job.get());
  return PreparedTree{std::move(tree->job), std::move(tree->port), std::move(copy)};
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
    return FollowedProcess(std::move(process), std::move(tree->job), std::move(tree->port));
  }
  if (!process) return std::nullopt;
  return FollowedProcess(std::move(process), UniqueHandle(), UniqueHandle());
}

FollowedProcess CommandLineStartFollowedProcess(const std::wstring& commandLine, int windowStyle,
                                                bool wholeTree) {
  const PROCESS_INFORMATION created = CreateCommandLineProcess(
      commandLine, windowStyle, wholeTree ? CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB : 0);
  if (wholeTree) return RunInTree(created);
  CloseHandle(created.hThread);
  return FollowedProcess(UniqueHandle(created.hProcess), UniqueHandle(), UniqueHandle());
}

void WaitForAnyFollowedProcess(const std::vector<const FollowedProcess*>& programs,
                               DWORD timeoutMs) {
  std::vector<HANDLE> handles;
  for (const FollowedProcess* program : programs) {
    if (!program->followsTree() && handles.size() < MAXIMUM_WAIT_OBJECTS) {
      handles.push_back(program->process());
    }
  }
  if (handles.size() < programs.size()) timeoutMs = std::min(timeoutMs, kTreeLookMs);
  if (handles.empty()) {
    Sleep(timeoutMs);
    return;
  }
  WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeoutMs);
}

}  // namespace kelmo
