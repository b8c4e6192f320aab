#include "launcher/program_name.h"

#include <algorithm>

#include "common/text_util.h"

namespace kelmo {

namespace {

// Letter case folded as Windows file names fold it, for the letters of
// ASCII and Latin-1 (other scripts in game names, such as Japanese, have no
// case).
wchar_t Folded(wchar_t c) {
  if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
    return static_cast<wchar_t>(c + 0x20);
  }
  return c;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return Folded(x) == Folded(y); });
}

std::wstring_view FileNameOf(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool MatchesImage(const NamePattern& pattern, std::wstring_view path) {
  if (path.empty()) return false;
  switch (pattern.kind) {
    case NamePattern::Kind::kFileName:
      return SameText(pattern.text, FileNameOf(path));
    case NamePattern::Kind::kPath:
      return SameText(pattern.text, path);
    case NamePattern::Kind::kFolder:
      return path.size() > pattern.text.size() &&
             SameText(pattern.text, path.substr(0, pattern.text.size()));
  }
  return false;
}

}  // namespace

NamePattern ReadNamePattern(std::wstring_view text) {
  NamePattern pattern;
  pattern.text = TrimSpaces(text);
  if (pattern.text.size() >= 2 && pattern.text.front() == L'"' && pattern.text.back() == L'"') {
    pattern.text = pattern.text.substr(1, pattern.text.size() - 2);
  }
  std::replace(pattern.text.begin(), pattern.text.end(), L'/', L'\\');
  if (!pattern.text.empty() && pattern.text.back() == L'\\') {
    pattern.kind = NamePattern::Kind::kFolder;
  } else if (pattern.text.find_first_of(L"\\:") != std::wstring::npos) {
    pattern.kind = NamePattern::Kind::kPath;
  }
  return pattern;
}

bool MatchesName(const NamePattern& pattern, const RunningProcess& process) {
  return !pattern.text.empty() &&
         (MatchesImage(pattern, process.path) || MatchesImage(pattern, process.shortPath));
}

}  // namespace kelmo
