#include "launcher/shell_start_in_job.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "common/com_init.h"

namespace kelmo {

namespace {

// Holds, in the copy's environment, the inherited handle of the section that
// carries the request. No launch command line can set it, and the copy
// removes it before its shell call, so the programs it starts never see it.
constexpr wchar_t kCopyVariable[] = L"KELMO_SHELL_START_SECTION";

// The start of the section the launcher shares with its copy; the ANSI file
// text and then the parameter text follow it, each ended by a NUL.
struct ShellStartRequest {
  std::uint32_t bytes;  // of the whole request, texts included
  std::int32_t showMode;
  std::uint64_t owner;     // the launcher's window
  std::uint64_t launcher;  // the launcher process, PROCESS_DUP_HANDLE, inherited by the copy
  std::uint32_t fileBytes;
  std::uint32_t parameterBytes;
  std::uint32_t hasParameters;
  // Written by the copy once the shell call has returned: the shell's
  // process as a handle of the launcher, or 0.
  std::uint64_t process;
};

void UnmapView(void* view) { UnmapViewOfFile(view); }
using MappedView = ScopedResource<void*, UnmapView>;

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The copy is created with its marker in its environment, suspended, and
// out of the launcher's own job where that job allows it: a system without
// nested jobs could not put it into a second one. Its arguments are blank,
// so a copy that somehow missed its marker would start nothing.
bool CreateCopy(const std::wstring& self, HANDLE section, PROCESS_INFORMATION& created) {
  wchar_t marker[2 * sizeof(std::uint64_t) + 1] = {};
  std::swprintf(marker, sizeof(marker) / sizeof(marker[0]), L"%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(section)));
  std::wstring commandLine = L"\"" + self + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_FORCEOFFFEEDBACK;  // it shows nothing: no busy cursor for it
  SetEnvironmentVariableW(kCopyVariable, marker);
  DWORD flags = CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB;
  BOOL made = CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                             nullptr, nullptr, &startup, &created);
  if (!made && GetLastError() == ERROR_ACCESS_DENIED) {
    flags &= ~static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB);
    made = CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                          nullptr, &startup, &created);
  }
  SetEnvironmentVariableW(kCopyVariable, nullptr);
  return made != FALSE;
}

// Waits for the copy to end while handling the messages that other threads
// send to the launcher's window: the boxes the shell shows in the copy are
// owned by that window, and a box disables its owner with a sent message.
void WaitHandlingSentMessages(HANDLE process) {
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

std::optional<UniqueHandle> ShellStartInJob(HWND owner, const AnsiProgram& program, int showMode,
                                            HANDLE job) {
  const std::wstring self = ModulePath();
  const std::size_t bytes =
      sizeof(ShellStartRequest) + program.file.size() + 1 + program.parameters.size() + 1;
  if (self.empty() || bytes > UINT32_MAX) return std::nullopt;

  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  const UniqueHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, &inheritable, PAGE_READWRITE,
                                                0, static_cast<DWORD>(bytes), nullptr));
  if (!section) return std::nullopt;
  const MappedView view(MapViewOfFile(section.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
  HANDLE launcherForCopy = nullptr;
  if (!view || !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(),
                                &launcherForCopy, PROCESS_DUP_HANDLE, TRUE, 0)) {
    return std::nullopt;
  }
  const UniqueHandle launcher(launcherForCopy);

  auto* request = static_cast<ShellStartRequest*>(view.get());
  request->bytes = static_cast<std::uint32_t>(bytes);
  request->showMode = showMode;
  request->owner = reinterpret_cast<std::uintptr_t>(owner);
  request->launcher = reinterpret_cast<std::uintptr_t>(launcher.get());
  request->fileBytes = static_cast<std::uint32_t>(program.file.size());
  request->parameterBytes = static_cast<std::uint32_t>(program.parameters.size());
  request->hasParameters = program.hasParameters ? 1 : 0;
  request->process = 0;
  char* texts = reinterpret_cast<char*>(request + 1);
  std::memcpy(texts, program.file.c_str(), program.file.size() + 1);
  std::memcpy(texts + program.file.size() + 1, program.parameters.c_str(),
              program.parameters.size() + 1);

  PROCESS_INFORMATION created = {};
  if (!CreateCopy(self, section.get(), created)) return std::nullopt;
  const UniqueHandle copy(created.hProcess);
  const UniqueHandle thread(created.hThread);
  if (!AssignProcessToJobObject(job, copy.get())) {
    TerminateProcess(copy.get(), 1);
    return std::nullopt;
  }
  ResumeThread(thread.get());
  WaitHandlingSentMessages(copy.get());
  return UniqueHandle(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(request->process)));
}

std::optional<int> RunAsShellStartCopy() {
  wchar_t marker[2 * sizeof(std::uint64_t) + 1] = {};
  const DWORD length =
      GetEnvironmentVariableW(kCopyVariable, marker, sizeof(marker) / sizeof(marker[0]));
  if (length == 0) return std::nullopt;
  SetEnvironmentVariableW(kCopyVariable, nullptr);
  constexpr int kNotACopy = 1;
  if (length >= sizeof(marker) / sizeof(marker[0])) return kNotACopy;

  // Nothing this copy starts may inherit the launcher's handles.
  const UniqueHandle section(
      reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::wcstoull(marker, nullptr, 16))));
  if (!SetHandleInformation(section.get(), HANDLE_FLAG_INHERIT, 0)) return kNotACopy;
  const MappedView view(MapViewOfFile(section.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
  MEMORY_BASIC_INFORMATION region = {};
  if (!view || VirtualQuery(view.get(), &region, sizeof(region)) == 0) return kNotACopy;
  auto* request = static_cast<ShellStartRequest*>(view.get());
  if (region.RegionSize < sizeof(ShellStartRequest) || request->bytes > region.RegionSize ||
      request->bytes != sizeof(ShellStartRequest) + std::uint64_t{request->fileBytes} + 1 +
                            request->parameterBytes + 1) {
    return kNotACopy;
  }
  const UniqueHandle launcher(
      reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(request->launcher)));
  SetHandleInformation(launcher.get(), HANDLE_FLAG_INHERIT, 0);

  const char* file = reinterpret_cast<const char*>(request + 1);
  const char* parameters = file + request->fileBytes + 1;
  const ScopedComInitialization com;
  SHELLEXECUTEINFOA record = FillShellExecuteRecord(
      reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->owner)), file,
      request->hasParameters ? parameters : nullptr, request->showMode);
  // This process ends right after the call, so the shell must finish its
  // work (a DDE conversation, a start on a thread of its own) inside it.
  record.fMask |= SEE_MASK_NOASYNC;
  ShellExecuteExA(&record);
  if (record.hProcess == nullptr) return 0;
  HANDLE inLauncher = nullptr;
  if (DuplicateHandle(GetCurrentProcess(), record.hProcess, launcher.get(), &inLauncher, 0, FALSE,
                      DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE)) {
    request->process = reinterpret_cast<std::uintptr_t>(inLauncher);
  }
  return 0;
}

}  // namespace kelmo
