// The processes that run now, for following programs by name. Win32 only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "launcher/program_name.h"
#include "launcher/win/followed_program.h"

namespace kelmo {

// Lists the processes created after the launcher itself started, each with
// its image's long and short path. A process the launcher may not open
// (another user's, a protected one) shows no creation time: it counts as
// newer when it was not there at the list's first reading, and shows only
// its image's file name.
class NewerProcessList {
 public:
  std::vector<RunningProcess> Read();

 private:
  std::uint64_t launcherCreated_ = 0;
  std::optional<std::vector<DWORD>> unopenedAtFirstReading_;
  // Processes found older than the launcher, by id and image file name: the
  // list is read every 100 ms, and each of them is opened once, not each time.
  std::map<DWORD, std::wstring> older_;
};

// Holds a listed process to be followed: by a handle that may end it where
// the system allows that, else by one that may only wait for it, else, for a
// process the launcher may not open, by looking it up again. Nullopt when it
// has ended, or its id names another process by now.
std::optional<FollowedProcess> FollowRunningProcess(const RunningProcess& process);

// The long form of a path that exists, else the path as given.
std::wstring LongPathOf(const std::wstring& path);

}  // namespace kelmo
