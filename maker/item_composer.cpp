#include "maker/item_composer.h"

#include <cstddef>

#include "common/text_util.h"

namespace kelmo {
namespace {

constexpr std::array<const wchar_t*, 4> kTimingTexts = {L"/b", L"/w", L"/a", L"/c"};
// Index 0 (default size) writes no letter and is therefore not listed.
constexpr std::array<wchar_t, 6> kSizeLetters = {L'\0', L'm', L'x', L'n', L'i', L'o'};

}  // namespace

std::wstring ComposeEntry(const ComposerInput& input) {
  if (TrimSpaces(input.programText).empty()) return std::wstring();

  if (input.launcher == LauncherChoice::Standard) {
    return L"\"" + input.programText + L"\"";
  }

  std::wstring entry;
  for (std::size_t i = 0; i < kTimingTexts.size(); ++i) {
    if (input.timing[i]) {
      entry += kTimingTexts[i];
      break;
    }
  }
  for (std::size_t i = 1; i < kSizeLetters.size(); ++i) {
    if (input.size[i]) {
      entry += kSizeLetters[i];
      break;
    }
  }
  entry += L':';
  entry += input.programText;
  return entry;
}

std::wstring ProgramTextFor(std::wstring_view path, std::wstring_view arguments) {
  std::wstring text(path);
  if (!arguments.empty() || path.find(L' ') != std::wstring_view::npos) text = L'"' + text + L'"';
  if (!arguments.empty()) {
    text += L' ';
    text += arguments;
  }
  return text;
}

bool ArgumentsCutByKelmoPro(std::wstring_view arguments) {
  return (!arguments.empty() && arguments.front() == L'/') ||
         arguments.find(L" /") != std::wstring_view::npos;
}

}  // namespace kelmo
