#include "launcher/standard_command_line.h"

#include "common/group_entries.h"
#include "common/text_util.h"

namespace kelmo {
namespace {

// The program text an entry holds: the text between its outer quotes, when
// it has them, without surrounding spaces.
std::wstring ProgramTextOf(std::wstring_view entry) {
  std::wstring text = TrimSpaces(entry);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
    text = TrimSpaces(std::wstring_view(text).substr(1, text.size() - 2));
  }
  return text;
}

// A text that begins with a double quote has no existing beginning (no path
// holds a quote), so its file is the quoted one.
ExeArgs SplitAtExistingPath(const std::wstring& text, const PathExists& exists) {
  constexpr wchar_t kBlanks[] = L" \t";
  for (std::size_t end = text.size(); end != std::wstring::npos && end > 0;
       end = text.find_last_of(kBlanks, end - 1)) {
    // A path never ends in a blank; Windows would drop it and find the path before.
    if (text[end - 1] == L' ' || text[end - 1] == L'\t') continue;
    const std::wstring candidate = text.substr(0, end);
    if (!exists(candidate)) continue;
    const std::size_t rest = text.find_first_not_of(kBlanks, end);
    if (rest == std::wstring::npos) return {candidate, std::nullopt};
    return {candidate, text.substr(rest)};
  }
  return SplitCommandLine(text);
}

}  // namespace

std::vector<ExeArgs> ReadStandardCommandLine(std::wstring_view argumentText,
                                             const PathExists& exists) {
  std::vector<ExeArgs> programs;
  for (const std::wstring& entry : StandardEntries(argumentText)) {
    ExeArgs program = SplitAtExistingPath(ProgramTextOf(entry), exists);
    if (!program.file.empty()) programs.push_back(std::move(program));
  }
  return programs;
}

}  // namespace kelmo
