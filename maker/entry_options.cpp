#include "maker/entry_options.h"

#include <algorithm>

#include "common/text_util.h"

namespace kelmo {

namespace {

constexpr int kMaxGrace = 3600;

wchar_t Lower(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
bool IsTimingLetter(wchar_t c) {
  c = Lower(c);
  return c == L'a' || c == L'b' || c == L't' || c == L'c' || c == L'w';
}
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsSizeLetter(wchar_t c) {
  c = Lower(c);
  return c == L'd' || c == L'h' || c == L'i' || c == L'm' || c == L'n' || c == L'o' || c == L'x';
}

// Where an entry's letters stand: from after a leading slash to its first
// colon, and where its first timing letter is in it.
struct LetterSpan {
  std::size_t begin = 0;
  std::size_t end = 0;  // the first colon
  std::size_t timing = 0;
};

std::optional<LetterSpan> FindLetters(std::wstring_view entry) {
  LetterSpan span;
  span.begin = !entry.empty() && entry.front() == L'/' ? 1 : 0;
  span.end = entry.find(L':', span.begin);
  if (span.end == std::wstring_view::npos) return std::nullopt;
  for (span.timing = span.begin; span.timing < span.end; ++span.timing) {
    if (IsTimingLetter(entry[span.timing])) return span;
  }
  return std::nullopt;
}

// The letters without the characters `drop` matches, and with `insert`
// right after the timing letter and the g letters that directly follow it;
// nullopt when the new letters hold " /".
template <typename Drop>
std::optional<std::wstring> RewriteLetters(std::wstring_view entry, const LetterSpan& span,
                                           Drop drop, const std::wstring& insert) {
  std::wstring result(entry.substr(0, span.begin));
  std::size_t i = span.begin;
  for (; i <= span.timing; ++i) {
    if (!drop(entry[i])) result += entry[i];
  }
  for (; i < span.end && Lower(entry[i]) == L'g' && !drop(entry[i]); ++i) result += entry[i];
  result += insert;
  for (; i < span.end; ++i) {
    if (!drop(entry[i])) result += entry[i];
  }
  // A dropped character between a space and a slash would make the
  // launcher read the entry as two items, neither with the grace or tree
  // asked for. A " /" in the program text is cut there before and after
  // the change alike, so it does not stand in the way.
  if (result.find(L" /") != std::wstring::npos) return std::nullopt;
  result += entry.substr(span.end);
  return result;
}

// `entry` without any of the letters `letter` (g or r, either case). Digits
// on both sides of one would run together once it goes, so the seconds are
// written again as one run after the timing letter.
std::optional<std::wstring> WithoutLetter(std::wstring_view entry, const LetterSpan& span,
                                          wchar_t letter, int seconds) {
  const auto isLetterOrDigit = [letter](wchar_t c) { return Lower(c) == letter || IsDigit(c); };
  return RewriteLetters(entry, span, isLetterOrDigit, seconds > 0 ? DecimalText(seconds) : L"");
}

}  // namespace

std::optional<EntryOptions> ReadEntryOptions(std::wstring_view entry) {
  const std::optional<LetterSpan> span = FindLetters(entry);
  if (!span) return std::nullopt;
  EntryOptions options;
  const wchar_t timing = Lower(entry[span->timing]);
  options.graceApplies = timing == L't' || timing == L'c';
  options.pauseApplies = timing == L'b' || timing == L'a';
  options.readyApplies = options.graceApplies || options.pauseApplies;
  options.byNameApplies = options.graceApplies || timing == L'w';
  bool inFirstDigits = false;
  bool digitsDone = false;
  bool sizeSeen = false;
  for (std::size_t i = span->begin; i < span->end; ++i) {
    const wchar_t c = entry[i];
    if (!sizeSeen && IsSizeLetter(c)) {
      sizeSeen = true;
      options.hidden = Lower(c) == L'h';
    }
    if (Lower(c) == L'p') options.byName = true;
    if (IsDigit(c) && !digitsDone) {
      options.seconds = std::min(kMaxGrace, options.seconds * 10 + (c - L'0'));
      inFirstDigits = true;
    } else if (inFirstDigits) {
      digitsDone = true;
    }
    if (Lower(c) == L'g') options.wholeTree = true;
    if (Lower(c) == L'r') options.untilReady = true;
  }
  const bool held = options.pauseApplies && (options.seconds > 0 || options.untilReady);
  options.treeApplies = !options.byName && (options.graceApplies || timing == L'w' || held);
  // With p the launcher passes over g and r on every entry.
  options.readyApplies = options.readyApplies && !options.byName;
  return options;
}

namespace {

// `entry` with the letter g (on: right after the timing letter), r or p (on:
// at the end of the letters), or with every such letter removed (off).
std::optional<std::wstring> WithLetter(std::wstring_view entry, wchar_t letter, bool on) {
  const std::optional<LetterSpan> span = FindLetters(entry);
  if (!span) return std::wstring(entry);
  const EntryOptions options = *ReadEntryOptions(entry);
  const bool has = letter == L'g'   ? options.wholeTree
                   : letter == L'r' ? options.untilReady
                                    : options.byName;
  if (has == on) return std::wstring(entry);
  if (!on) return WithoutLetter(entry, *span, letter, options.seconds);
  std::wstring result(entry);
  result.insert(letter == L'g' ? span->timing + 1 : span->end, 1, letter);
  return result;
}

}  // namespace

std::optional<std::wstring> WithSeconds(std::wstring_view entry, int seconds) {
  const std::optional<LetterSpan> span = FindLetters(entry);
  if (!span) return std::wstring(entry);
  const int written = std::clamp(seconds, 0, kMaxGrace);
  return RewriteLetters(entry, *span, IsDigit, written > 0 ? DecimalText(written) : L"");
}

std::optional<std::wstring> WithWholeTree(std::wstring_view entry, bool on) {
  return WithLetter(entry, L'g', on);
}

std::optional<std::wstring> WithUntilReady(std::wstring_view entry, bool on) {
  return WithLetter(entry, L'r', on);
}

std::optional<std::wstring> WithByName(std::wstring_view entry, bool on) {
  return WithLetter(entry, L'p', on);
}

std::optional<std::wstring> WithHidden(std::wstring_view entry, bool on) {
  const std::optional<LetterSpan> span = FindLetters(entry);
  if (!span) return std::wstring(entry);
  const EntryOptions options = *ReadEntryOptions(entry);
  if (options.hidden == on) return std::wstring(entry);
  // No size letter is a timing letter, so the timing letter stays. Digits on
  // both sides of a size letter would run together once it goes, so the
  // seconds are written again after the h.
  const auto isSizeOrDigit = [](wchar_t c) { return IsSizeLetter(c) || IsDigit(c); };
  return RewriteLetters(
      entry, *span, isSizeOrDigit,
      (on ? L"h" : L"") + (options.seconds > 0 ? DecimalText(options.seconds) : L""));
}

std::optional<int> ParseSeconds(std::wstring_view typed) {
  const auto isSpace = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000'; };
  while (!typed.empty() && isSpace(typed.front())) typed.remove_prefix(1);
  while (!typed.empty() && isSpace(typed.back())) typed.remove_suffix(1);
  if (typed.empty()) return std::nullopt;
  int seconds = 0;
  for (wchar_t c : typed) {
    if (c >= L'\uFF10' && c <= L'\uFF19') c = static_cast<wchar_t>(c - L'\uFF10' + L'0');
    if (!IsDigit(c)) return std::nullopt;
    seconds = std::min(kMaxGrace, seconds * 10 + (c - L'0'));
  }
  return seconds;
}

}  // namespace kelmo
