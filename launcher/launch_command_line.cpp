#include "launcher/launch_command_line.h"

#include <algorithm>

#include "common/text_util.h"

namespace kelmo {

namespace {

wchar_t AsciiLower(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// What the characters before an item's first colon say.
struct ItemLetters {
  wchar_t timing = 0;
  int showMode = kNoSizeLetter;
  int seconds = 0;  // the first run of digits
  bool wholeTree = false;
  bool untilReady = false;
  bool byName = false;
};

// Within a piece the letter nearest its start decides, so a forward scan that
// keeps the first hit of each kind gives the same result as walking back from
// the colon and letting every hit replace the last. Digits, g and r are
// passed over by that scan; they are read beside it, as is p.
ItemLetters ScanLetters(std::wstring_view letters) {
  ItemLetters found;
  enum { kBeforeDigits, kInFirstDigits, kAfterFirstDigits } digits = kBeforeDigits;
  for (const wchar_t raw : letters) {
    const wchar_t c = AsciiLower(raw);
    if (c >= L'0' && c <= L'9' && digits != kAfterFirstDigits) {
      // Saturates instead of overflowing: every longer run means the cap.
      found.seconds = std::min(kMaxGraceSeconds, found.seconds * 10 + (c - L'0'));
      digits = kInFirstDigits;
    } else if (digits == kInFirstDigits) {
      digits = kAfterFirstDigits;
    }
    if (c == L'g') found.wholeTree = true;
    if (c == L'r') found.untilReady = true;
    if (c == L'p') found.byName = true;
    if (found.timing == 0 && (c == L'a' || c == L'b' || c == L't' || c == L'c' || c == L'w')) {
      found.timing = c;
    } else if (found.showMode == kNoSizeLetter) {
      found.showMode = ShowModeOfSizeLetter(c);
    }
  }
  return found;
}

// Reads one piece (the text between two " /" separators, without the slash)
// into the plan.
void ReadPiece(std::wstring_view piece, LaunchPlan& plan) {
  const std::size_t colon = piece.find(L':');
  if (colon == std::wstring_view::npos) return;

  const ItemLetters letters = ScanLetters(piece.substr(0, colon));
  const wchar_t timing = letters.timing;
  if (timing == 0) return;

  PlanEntry entry{TrimSpaces(piece.substr(colon + 1)),
                  letters.showMode == kNoSizeLetter ? kShowDefault : letters.showMode};
  const bool isCompanion = timing == L't' || timing == L'c';
  if (isCompanion) entry.graceSeconds = letters.seconds;
  if (timing == L'b' || timing == L'a') entry.pauseSeconds = letters.seconds;
  // With p, g and r are passed over on every item; p itself only on b and a.
  entry.byName = letters.byName && (isCompanion || timing == L'w');
  if (entry.byName && timing == L'w') entry.appearSeconds = letters.seconds;
  if (!letters.byName) {
    if (timing != L'w') entry.untilReady = letters.untilReady;
    const bool held = entry.pauseSeconds > 0 || entry.untilReady;
    if (isCompanion || timing == L'w' || held) entry.wholeTree = letters.wholeTree;
  }
  switch (timing) {
    case L'b':
      plan.before.push_back(std::move(entry));
      break;
    case L't':
      plan.terminate.push_back(std::move(entry));
      break;
    case L'c':
      plan.close.push_back(std::move(entry));
      break;
    case L'a':
      plan.after.push_back(std::move(entry));
      break;
    case L'w':
      if (!plan.waited) plan.waited = std::move(entry);
      break;
  }
}

}  // namespace

int ShowModeOfSizeLetter(wchar_t letter) {
  switch (AsciiLower(letter)) {
    case L'd':
      return kShowDefault;
    case L'h':
      return kShowHidden;
    case L'i':
      return kShowMinNoActive;
    case L'm':
      return kShowMinimized;
    case L'n':
      return kShowNormal;
    case L'o':
      return kShowNoActivate;
    case L'x':
      return kShowMaximized;
    default:
      return kNoSizeLetter;
  }
}

bool IsBlankCommandLine(std::wstring_view argumentText) {
  return argumentText.find_first_not_of(L' ') == std::wstring_view::npos;
}

std::wstring_view ArgumentText(std::wstring_view processCommandLine) {
  std::size_t i = 0;
  if (!processCommandLine.empty() && processCommandLine.front() == L'"') {
    const std::size_t closing = processCommandLine.find(L'"', 1);
    i = closing == std::wstring_view::npos ? processCommandLine.size() : closing + 1;
  }
  while (i < processCommandLine.size() && processCommandLine[i] != L' ' &&
         processCommandLine[i] != L'\t')
    ++i;
  while (i < processCommandLine.size() &&
         (processCommandLine[i] == L' ' || processCommandLine[i] == L'\t'))
    ++i;
  return processCommandLine.substr(i);
}

std::optional<LaunchPlan> ParseLaunchCommandLine(std::wstring_view argumentText) {
  if (IsBlankCommandLine(argumentText)) return std::nullopt;

  // The text is read as if one space stood in front of it, so an item at the
  // very start is cut off by the same " /" rule as every other item. That
  // space can only ever belong to the first piece, before any colon, where it
  // is passed over; so it is not materialised, except that a text beginning
  // with "/" starts with a separator and its first piece is empty.
  LaunchPlan plan;
  constexpr std::wstring_view kSeparator = L" /";
  std::size_t pieceStart = argumentText.front() == L'/' ? 1 : 0;
  while (true) {
    const std::size_t cut = argumentText.find(kSeparator, pieceStart);
    const std::size_t end = cut == std::wstring_view::npos ? argumentText.size() : cut;
    ReadPiece(argumentText.substr(pieceStart, end - pieceStart), plan);
    if (cut == std::wstring_view::npos) break;
    pieceStart = cut + kSeparator.size();
  }
  return plan;
}

}  // namespace kelmo
