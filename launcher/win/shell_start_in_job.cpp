#include "launcher/win/shell_start_in_job.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "common/win/com_init.h"

namespace kelmo {

namespace {

// Holds, in the copy's environment, the inherited handle of the section that
// carries the request. No launch command line can set it, and the copy
// removes it before its shell call, so the programs it starts never see it.
constexpr wchar_t kCopyVariable[] = L"KELMO_SHELL_START_SECTION";

// Room for the texts of any one call: a launch item's file and parameters,
// at most two bytes a character, come from a command line of at most 32767.
constexpr std::size_t kTextBytes = 2 * 32768 + 2;

// The start of the section the launcher shares with its copy; the ANSI file
// text and then the parameter text follow it, each ended by a NUL.
struct ShellStartRequest {
  std::uint64_t call;      // event: set once the call is written, or to end the copy
  std::uint64_t launcher;  // the launcher process: PROCESS_DUP_HANDLE, SYNCHRONIZE
  std::uint32_t hasCall;   // 0: end without a call
  std::int32_t showMode;
  std::uint64_t owner;  // the launcher's window
  std::uint32_t fileBytes;
  std::uint32_t parameterBytes;
  std::uint32_t hasParameters;
  std::uint32_t quiet;  // no error box from the shell
  // Set by the copy before its shell call: a copy ended from outside before
  // that has started nothing.
  std::uint32_t taken;
  // Written by the copy once the shell call has returned: the shell's
  // process as a handle of the launcher, or 0.
  std::uint64_t process;
};
constexpr std::size_t kSectionBytes = sizeof(ShellStartRequest) + kTextBytes;

template <typename Handle>
Handle FromField(std::uint64_t field) {
  return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(field));
}
template <typename Handle>
std::uint64_t ToField(Handle handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

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

namespace env_detail {
inline void FreeStrings(wchar_t* strings) { FreeEnvironmentStringsW(strings); }
}  // namespace env_detail
using EnvironmentStrings = ScopedResource<wchar_t*, env_detail::FreeStrings>;

// The launcher's own environment block with `entry` ("NAME=value") in it,
// replacing a variable of that name; empty when the environment cannot be
// read. The block stays sorted by name, case-insensitively, as CreateProcess
// expects it.
std::wstring EnvironmentWith(const std::wstring& entry) {
  const EnvironmentStrings strings(GetEnvironmentStringsW());
  if (!strings) return std::wstring();
  const std::wstring_view name(entry.c_str(), entry.find(L'='));
  std::wstring block;
  bool placed = false;
  for (const wchar_t* p = strings.get(); *p != L'\0'; p += std::wcslen(p) + 1) {
    const std::wstring_view variable(p);
    const std::wstring_view variableName = variable.substr(0, variable.find(L'=', 1));
    const int order =
        CompareStringOrdinal(variableName.data(), static_cast<int>(variableName.size()),
                             name.data(), static_cast<int>(name.size()), TRUE);
    if (!placed && order != CSTR_LESS_THAN) {
      block.append(entry).push_back(L'\0');
      placed = true;
    }
    if (order != CSTR_EQUAL) block.append(variable).push_back(L'\0');
  }
  if (!placed) block.append(entry).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

// The copy is created suspended, with its marker in an environment block of
// its own (the launcher's environment never holds it, so nothing else the
// launcher starts can take itself for a copy), inheriting only `handles`,
// its own, and out of the launcher's own job where that job allows it: a
// system without nested jobs could not put it into a second one. Without the
// list of handles to inherit no copy is made, since it would inherit those of
// every other copy. Its arguments are blank, so a copy that somehow missed
// its marker would start nothing.
bool CreateCopy(const std::wstring& self, HANDLE (&handles)[3], PROCESS_INFORMATION& created) {
  // The section's handle value in hex, read back by the copy with wcstoull.
  // Written by hand: the C library's printf would add 27 KB to the program.
  std::wstring marker;
  for (auto value = reinterpret_cast<std::uintptr_t>(handles[0]); marker.empty() || value != 0;
       value /= 16) {
    marker.insert(marker.begin(), L"0123456789abcdef"[value % 16]);
  }
  std::wstring environment = EnvironmentWith(std::wstring(kCopyVariable) + L"=" + marker);
  SIZE_T listBytes = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listBytes);
  std::vector<unsigned char> listMemory(listBytes);
  const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
  if (environment.empty() || listBytes == 0 ||
      !InitializeProcThreadAttributeList(list, 1, 0, &listBytes)) {
    return false;
  }
  STARTUPINFOEXW startup = {};
  startup.StartupInfo.cb = sizeof(startup);
  startup.StartupInfo.dwFlags = STARTF_FORCEOFFFEEDBACK;  // it shows nothing: no busy cursor for it
  startup.lpAttributeList = list;
  std::wstring commandLine = L"\"" + self + L"\"";
  DWORD flags = CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB | CREATE_UNICODE_ENVIRONMENT |
                EXTENDED_STARTUPINFO_PRESENT;
  const bool listed = UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles,
                                                sizeof(handles), nullptr, nullptr) != FALSE;
  BOOL made =
      listed && CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                               environment.data(), nullptr, &startup.StartupInfo, &created);
  if (listed && !made && GetLastError() == ERROR_ACCESS_DENIED) {
    flags &= ~static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB);
    made = CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                          environment.data(), nullptr, &startup.StartupInfo, &created);
  }
  DeleteProcThreadAttributeList(list);
  return made != FALSE;
}

}  // namespace

std::optional<ShellStartCopy> ShellStartCopy::Start(HANDLE job) {
  const std::wstring self = ModulePath();
  if (self.empty()) return std::nullopt;
  ShellStartCopy made;
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  made.section_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, &inheritable, PAGE_READWRITE, 0,
                                         static_cast<DWORD>(kSectionBytes), nullptr));
  made.call_.reset(CreateEventW(&inheritable, TRUE, FALSE, nullptr));
  HANDLE launcher = nullptr;
  if (!made.section_ || !made.call_ ||
      !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &launcher,
                       PROCESS_DUP_HANDLE | SYNCHRONIZE, TRUE, 0)) {
    return std::nullopt;
  }
  made.launcher_.reset(launcher);
  made.view_.reset(MapViewOfFile(made.section_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!made.view_) return std::nullopt;
  auto* request = static_cast<ShellStartRequest*>(made.view_.get());
  request->call = ToField(made.call_.get());
  request->launcher = ToField(made.launcher_.get());

  HANDLE inherited[] = {made.section_.get(), made.call_.get(), made.launcher_.get()};
  PROCESS_INFORMATION created = {};
  if (!CreateCopy(self, inherited, created)) return std::nullopt;
  // The copy alone inherits them: no later start of the launcher's own may.
  for (const HANDLE handle : inherited) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
  made.copy_.reset(created.hProcess);
  const UniqueHandle thread(created.hThread);
  if (!AssignProcessToJobObject(job, made.copy_.get())) {
    TerminateProcess(made.copy_.get(), 1);
    made.copy_.reset();
    return std::nullopt;
  }
  ResumeThread(thread.get());
  return made;
}

ShellStartCopy::~ShellStartCopy() {
  if (call_ && view_) {
    static_cast<ShellStartRequest*>(view_.get())->hasCall = 0;
    SetEvent(call_.get());
  }
}

std::optional<UniqueHandle> ShellStartCopy::MakeShellStart(HWND owner, const AnsiProgram& program,
                                                           int showMode, bool quiet) {
  if (!copy_ || program.file.size() + program.parameters.size() + 2 > kTextBytes) {
    return std::nullopt;
  }
  auto* request = static_cast<ShellStartRequest*>(view_.get());
  request->hasCall = 1;
  request->showMode = showMode;
  request->owner = ToField(owner);
  request->fileBytes = static_cast<std::uint32_t>(program.file.size());
  request->parameterBytes = static_cast<std::uint32_t>(program.parameters.size());
  request->hasParameters = program.hasParameters ? 1 : 0;
  request->quiet = quiet ? 1 : 0;
  request->taken = 0;
  request->process = 0;
  char* texts = reinterpret_cast<char*>(request + 1);
  std::memcpy(texts, program.file.c_str(), program.file.size() + 1);
  std::memcpy(texts + program.file.size() + 1, program.parameters.c_str(),
              program.parameters.size() + 1);
  SetEvent(call_.get());
  // The boxes the shell shows in the copy are owned by the launcher's
  // window, and a box disables its owner with a sent message.
  HANDLE copy = copy_.get();
  while (WaitHandlingSentMessages(1, &copy, INFINITE) == WAIT_OBJECT_0 + 1) {
  }
  call_.reset();  // the call is made: nothing to tell the copy any more
  if (request->taken == 0) return std::nullopt;
  return UniqueHandle(FromField<HANDLE>(request->process));
}

std::optional<int> RunAsShellStartCopy() {
  wchar_t marker[2 * sizeof(std::uint64_t) + 1] = {};
  constexpr DWORD kMarkerChars = sizeof(marker) / sizeof(marker[0]);
  const DWORD length = GetEnvironmentVariableW(kCopyVariable, marker, kMarkerChars);
  if (length == 0) return std::nullopt;
  SetEnvironmentVariableW(kCopyVariable, nullptr);
  constexpr int kNotACopy = 1;
  if (length >= kMarkerChars) return kNotACopy;

  // Nothing this copy starts may inherit the launcher's handles.
  const UniqueHandle section(FromField<HANDLE>(std::wcstoull(marker, nullptr, 16)));
  if (!SetHandleInformation(section.get(), HANDLE_FLAG_INHERIT, 0)) return kNotACopy;
  const MappedView view(MapViewOfFile(section.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
  MEMORY_BASIC_INFORMATION region = {};
  if (!view || VirtualQuery(view.get(), &region, sizeof(region)) == 0 ||
      region.RegionSize < kSectionBytes) {
    return kNotACopy;
  }
  auto* request = static_cast<ShellStartRequest*>(view.get());
  const UniqueHandle call(FromField<HANDLE>(request->call));
  const UniqueHandle launcher(FromField<HANDLE>(request->launcher));
  SetHandleInformation(call.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(launcher.get(), HANDLE_FLAG_INHERIT, 0);

  // Start-up done while the launcher does its own work; then wait for the
  // call, or for the launcher to go without one.
  const ScopedComInitialization com;
  GetDesktopWindow();
  const HANDLE waits[] = {call.get(), launcher.get()};
  if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 || request->hasCall == 0 ||
      std::uint64_t{request->fileBytes} + request->parameterBytes + 2 > kTextBytes) {
    return 0;
  }
  const char* file = reinterpret_cast<const char*>(request + 1);
  const char* parameters = file + request->fileBytes + 1;
  SHELLEXECUTEINFOA record =
      FillShellExecuteRecord(FromField<HWND>(request->owner), file,
                             request->hasParameters ? parameters : nullptr, request->showMode);
  // This process ends right after the call, so the shell must finish its
  // work (a DDE conversation, a start on a thread of its own) inside it.
  record.fMask |= SEE_MASK_NOASYNC;
  if (request->quiet != 0) record.fMask |= SEE_MASK_FLAG_NO_UI;
  request->taken = 1;
  ShellExecuteExA(&record);
  if (record.hProcess == nullptr) return 0;
  HANDLE inLauncher = nullptr;
  if (DuplicateHandle(GetCurrentProcess(), record.hProcess, launcher.get(), &inLauncher, 0, FALSE,
                      DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE)) {
    request->process = ToField(inLauncher);
  }
  return 0;
}

}  // namespace kelmo
