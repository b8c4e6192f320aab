#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelmo::testing_support {

std::wstring BinDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring text = path;
  return text.substr(0, text.find_last_of(L'\\'));
}

std::wstring LauncherPath() { return BinDir() + L"\\kelmoPro.exe"; }

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (true) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
}

namespace {

// Removes `folder` with everything in it, subfolders included.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

ProbeDir::ProbeDir() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  path_ = std::wstring(temp) + L"kelmo-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  // A run that crashed may have left a folder of the same name (process ids
  // come back): start from an empty one, so no old report is read.
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
  SetEnvironmentVariableW(L"KELMO_PROBE_DIR", path_.c_str());
}

ProbeDir::~ProbeDir() { RemoveTree(path_); }

std::wstring ProbeReport::Text(const std::wstring& key) const {
  auto it = values.find(key);
  return it == values.end() ? L"" : it->second;
}

long long ProbeReport::Number(const std::wstring& key) const {
  return Has(key) ? std::stoll(Text(key)) : -1;
}

std::optional<ProbeReport> ReadReport(const ProbeDir& dir, const std::wstring& tag) {
  HANDLE file = CreateFileW(dir.File(tag + L".txt").c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(),
                                                      static_cast<int>(bytes.size()), text.data(),
                                                      static_cast<int>(text.size()))));
  ProbeReport report;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) break;  // a line still being written
    const std::wstring line = text.substr(start, end - start);
    const std::size_t equals = line.find(L'=');
    if (equals != std::wstring::npos)
      report.values[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  return report;
}

ProbeReport WaitForReport(const ProbeDir& dir, const std::wstring& tag, const std::wstring& key,
                          int timeoutMs) {
  ProbeReport report;
  const bool arrived = WaitUntil(
      [&] {
        auto current = ReadReport(dir, tag);
        if (!current || !current->Has(key)) return false;
        report = *current;
        return true;
      },
      timeoutMs);
  EXPECT_TRUE(arrived) << "probe " << Narrow(tag) << " did not report " << Narrow(key);
  return report;
}

std::wstring ProbeCommand(const std::wstring& tag, const std::wstring& options) {
  std::wstring command = BinDir() + L"\\probe.exe " + tag;
  if (!options.empty()) command += L" " + options;
  return command;
}

std::wstring ShortPath(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

ProbeCopy CopyProbeAs(const ProbeDir& dir, const std::wstring& name) {
  ProbeCopy copy{dir.File(name), L""};
  EXPECT_TRUE(CopyFileW((BinDir() + L"\\probe.exe").c_str(), copy.path.c_str(), FALSE));
  copy.shortPath = ShortPath(copy.path);
  EXPECT_FALSE(copy.shortPath.empty());
  return copy;
}

StartedProcess StartProgram(const std::wstring& exe, const std::wstring& arguments, bool inJob,
                            DWORD jobLimits) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION created = {};
  StartedProcess result;
  // Wine starts a session's desktop process with the first program that needs
  // it, as that program's child: bring it up here, outside any job.
  if (inJob) GetDesktopWindow();
  // A job is joined before the first instruction, so no child escapes it.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      inJob ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &created)) {
    ADD_FAILURE() << "cannot start " << Narrow(commandLine) << ": error " << GetLastError();
    return result;
  }
  const UniqueHandle thread(created.hThread);
  result.process.reset(created.hProcess);
  result.id = created.dwProcessId;
  if (inJob) {
    result.job.reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = jobLimits;
    EXPECT_TRUE(SetInformationJobObject(result.job.get(), JobObjectExtendedLimitInformation,
                                        &limits, sizeof(limits)));
    EXPECT_TRUE(AssignProcessToJobObject(result.job.get(), created.hProcess));
    ResumeThread(thread.get());
  }
  return result;
}

StartedProcess StartLauncher(const std::wstring& arguments) {
  return StartProgram(LauncherPath(), arguments);
}

StartedProcess StartLauncherInJob(const std::wstring& arguments, DWORD jobLimits) {
  return StartProgram(LauncherPath(), arguments, true, jobLimits);
}

std::optional<DWORD> WaitForJobToEmpty(const StartedProcess& started, int timeoutMs) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
  const bool empty = WaitUntil(
      [&] {
        return QueryInformationJobObject(started.job.get(), JobObjectBasicAccountingInformation,
                                         &counts, sizeof(counts), nullptr) &&
               counts.ActiveProcesses == 0;
      },
      timeoutMs);
  if (!empty) return std::nullopt;
  return counts.TotalProcesses;
}

StartedProcess WatchProcess(DWORD processId) {
  StartedProcess watched;
  watched.process.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  watched.id = processId;
  return watched;
}

std::optional<DWORD> WaitForExit(const StartedProcess& started, int timeoutMs) {
  if (!started.process) return std::nullopt;
  if (WaitForSingleObject(started.process.get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(started.process.get(), &code);
  return code;
}

long long ExitTime(const StartedProcess& started) {
  FILETIME created, exited, kernel, user;
  if (WaitForExit(started, 0) == std::nullopt ||
      !GetProcessTimes(started.process.get(), &created, &exited, &kernel, &user)) {
    return 0;
  }
  return static_cast<long long>((static_cast<unsigned long long>(exited.dwHighDateTime) << 32) |
                                exited.dwLowDateTime);
}

void CreateReleaseFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << Narrow(path);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void WriteTextFile(const std::wstring& path, const std::string& text) {
  const UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  EXPECT_TRUE(file && WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                                nullptr))
      << "cannot write " << Narrow(path);
}

ScopedAppPath::ScopedAppPath(const std::wstring& name, const std::wstring& program)
    : key_(L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name) {
  EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), nullptr, REG_SZ, program.c_str(),
                            static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS)
      << "cannot register " << Narrow(name);
}

ScopedAppPath::~ScopedAppPath() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_.c_str()); }

void KillProcess(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  if (!process) return;
  TerminateProcess(process.get(), 1);
  WaitForSingleObject(process.get(), 5000);
}

namespace {

struct ProcessWindows {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindows(HWND hwnd, LPARAM lParam) {
  auto* collected = reinterpret_cast<ProcessWindows*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (collected->processId == 0 || owner == collected->processId)
    collected->windows.push_back(hwnd);
  return TRUE;
}

}  // namespace

HWND WaitForDialog(const std::wstring& title, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(0)) {
          if (IsWindowVisible(window) && ClassName(window) == L"#32770" &&
              WindowText(window) == title) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

void PressDialogButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr) {
    PostMessageW(button, BM_CLICK, 0, 0);
  } else {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  ProcessWindows collected{processId, {}};
  EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&collected));
  return collected.windows;
}

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

void SetLogPixels(DWORD dpi) {
  EXPECT_EQ(
      RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi)),
      ERROR_SUCCESS);
}

}  // namespace

ScopedScreenDpi::ScopedScreenDpi(DWORD dpi) {
  DWORD size = sizeof(former_);
  RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &former_,
               &size);
  SetLogPixels(dpi);
}

ScopedScreenDpi::~ScopedScreenDpi() { SetLogPixels(former_); }

std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

}  // namespace kelmo::testing_support
