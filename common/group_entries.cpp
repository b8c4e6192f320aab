#include "common/group_entries.h"

namespace kelmo {
namespace {

std::wstring_view WithoutLeadingSpaces(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  return first == std::wstring_view::npos ? std::wstring_view() : text.substr(first);
}

// Cuts the text, without its leading spaces, before every `opener` that
// follows a space: the space goes, so joining the pieces with one space each
// gives the text back. Without its leading spaces the text starts with a
// character other than a space, so the first piece is never empty, and the
// first piece is cut off by the same " /" rule that the launcher applies
// after putting a space in front. A quote opens an entry only where the run
// of spaces before it follows a closing quote.
std::vector<std::wstring> CutEntries(std::wstring_view arguments, wchar_t opener) {
  const std::wstring_view text = WithoutLeadingSpaces(arguments);
  std::vector<std::wstring> entries;
  if (text.empty()) return entries;
  std::size_t start = 0;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] != L' ' || text[i + 1] != opener) continue;
    if (opener == L'"') {
      std::size_t run = i;
      while (run > start && text[run - 1] == L' ') --run;
      if (run == start || text[run - 1] != L'"') continue;
    }
    entries.push_back(std::wstring(text.substr(start, i - start)));
    start = i + 1;
  }
  entries.push_back(std::wstring(text.substr(start)));
  return entries;
}

}  // namespace

std::vector<std::wstring> KelmoProEntries(std::wstring_view arguments) {
  return CutEntries(arguments, L'/');
}

std::vector<std::wstring> StandardEntries(std::wstring_view arguments) {
  return CutEntries(arguments, L'"');
}

}  // namespace kelmo
