#include "launcher/win/running_processes.h"

#include <tlhelp32.h>

#include <algorithm>

#include "launcher/win/process_control.h"

namespace kelmo {

namespace {

std::uint64_t CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The path in the form GetLongPathNameW or GetShortPathNameW gives, or
// `otherwise` when the call fails (the file is gone, 8.3 names are off).
template <typename Convert>
std::wstring PathForm(const std::wstring& path, Convert convert, const std::wstring& otherwise) {
  const DWORD size = convert(path.c_str(), nullptr, 0);
  std::wstring form(size, L'\0');
  if (size == 0 || convert(path.c_str(), form.data(), size) >= size) return otherwise;
  return form.c_str();
}

}  // namespace

std::wstring LongPathOf(const std::wstring& path) { return PathForm(path, GetLongPathNameW, path); }

std::vector<RunningProcess> NewerProcessList::Read() {
  if (launcherCreated_ == 0) launcherCreated_ = CreationTime(GetCurrentProcess());
  std::vector<RunningProcess> newer;
  std::vector<DWORD> unopened;
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    const DWORD id = entry.th32ProcessID;
    if (id == 0 || id == GetCurrentProcessId()) continue;
    const auto older = older_.find(id);
    if (older != older_.end() && older->second == entry.szExeFile) continue;
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) {
      unopened.push_back(id);
      const auto& before = unopenedAtFirstReading_;
      if (before && std::find(before->begin(), before->end(), id) == before->end()) {
        newer.push_back({id, 0, entry.szExeFile, L""});
      }
      continue;
    }
    const std::uint64_t created = CreationTime(process.get());
    if (created <= launcherCreated_) {
      older_[id] = entry.szExeFile;
      continue;
    }
    const std::wstring path = ImagePathOf(process.get());
    if (path.empty()) continue;
    newer.push_back({id, created, LongPathOf(path), PathForm(path, GetShortPathNameW, L"")});
  }
  if (!unopenedAtFirstReading_) unopenedAtFirstReading_ = std::move(unopened);
  return newer;
}

std::optional<FollowedProcess> FollowRunningProcess(const RunningProcess& process) {
  if (process.path.find(L'\\') == std::wstring::npos) {
    return FollowedProcess::LookedUp(process.id, process.path);
  }
  constexpr DWORD kWatch = SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;
  UniqueHandle held(OpenProcess(kWatch | PROCESS_TERMINATE, FALSE, process.id));
  if (!held) held.reset(OpenProcess(kWatch, FALSE, process.id));
  if (!held || CreationTime(held.get()) != process.createdAt ||
      WaitForSingleObject(held.get(), 0) != WAIT_TIMEOUT) {
    return std::nullopt;
  }
  return FollowedProcess(std::move(held), UniqueHandle());
}

}  // namespace kelmo
