#include "launcher/split_exe_args.h"

#include <algorithm>

#include "common/text_util.h"

namespace kelmo {

namespace {

std::optional<std::wstring> ParametersOrNone(std::wstring_view rest) {
  std::wstring trimmed = TrimSpaces(rest);
  if (trimmed.empty()) return std::nullopt;
  return trimmed;
}

}  // namespace

ExeArgs SplitExeArgs(std::wstring_view programText) {
  if (!programText.empty() && programText.front() == L'"') {
    const std::size_t closing = programText.find(L'"', 1);
    if (closing == std::wstring_view::npos)
      return {std::wstring(programText.substr(1)), std::nullopt};
    return {std::wstring(programText.substr(1, closing - 1)),
            ParametersOrNone(programText.substr(closing + 1))};
  }

  const std::size_t slash = programText.find(L'/');
  const std::size_t space = programText.find(L' ');
  std::size_t cut;
  if (slash == std::wstring_view::npos)
    cut = space;
  else if (space == std::wstring_view::npos)
    cut = slash;
  else
    cut = std::max(slash, space);
  if (cut == std::wstring_view::npos) return {std::wstring(programText), std::nullopt};

  // The parameters keep the cut character: a slash stays at their start, a
  // space disappears with the trimming.
  return {std::wstring(programText.substr(0, cut)), TrimSpaces(programText.substr(cut))};
}

ExeArgs SplitCommandLine(std::wstring_view commandLine) {
  if (!commandLine.empty() && commandLine.front() == L'"') return SplitExeArgs(commandLine);
  const std::size_t cut = commandLine.find_first_of(L" \t");
  const std::size_t rest = commandLine.find_first_not_of(L" \t", cut);
  if (rest == std::wstring_view::npos)
    return {std::wstring(commandLine.substr(0, cut)), std::nullopt};
  return {std::wstring(commandLine.substr(0, cut)), ParametersOrNone(commandLine.substr(rest))};
}

}  // namespace kelmo
