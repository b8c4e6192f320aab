#include "maker/wow64_paths.h"

#include "maker/path_parts.h"

namespace kelmo {

std::wstring With64BitProgramFolders(std::wstring_view target, const ProcessEnvironment& process) {
  if (!process.wow64) return std::wstring(target);
  const struct {
    std::wstring_view variable, native;
    bool set;
  } folders[] = {
      {L"%ProgramFiles%", L"%ProgramW6432%", !process.programW6432.empty()},
      {L"%CommonProgramFiles%", L"%CommonProgramW6432%", !process.commonProgramW6432.empty()}};
  std::wstring result;
  for (std::size_t i = 0; i < target.size();) {
    bool replaced = false;
    for (const auto& folder : folders) {
      if (folder.set &&
          EqualsIgnoringAsciiCase(target.substr(i, folder.variable.size()), folder.variable)) {
        result += folder.native;
        i += folder.variable.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) result += target[i++];
  }
  return result;
}

std::wstring WithSysnative(std::wstring_view path, const ProcessEnvironment& process) {
  std::wstring windows = process.windir;
  if (!windows.empty() && windows.back() != L'\\') windows += L'\\';
  const std::size_t end = windows.size() + 8;  // after "System32"
  std::wstring result(path);
  if (!process.wow64 || windows.empty() || path.size() <= end || path[end] != L'\\' ||
      !EqualsIgnoringAsciiCase(path.substr(0, end), windows + L"System32")) {
    return result;
  }
  return result.replace(windows.size(), 8, L"Sysnative");
}

}  // namespace kelmo
