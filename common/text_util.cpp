#include "common/text_util.h"

namespace kelmo {

std::wstring TrimSpaces(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return std::wstring();
  const std::size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
}

std::wstring DecimalText(long long value, std::size_t minDigits) {
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  if (negative) digits.insert(digits.begin(), L'-');
  return digits;
}

bool SurvivedRoundTrip(std::wstring_view original, std::wstring_view roundTrip,
                       LookAlikes lookAlikes) {
  if (original.size() != roundTrip.size()) return false;
  for (std::size_t i = 0; i < original.size(); ++i) {
    const wchar_t wrote = original[i];
    const wchar_t came = roundTrip[i];
    if (wrote == came) continue;
    if (lookAlikes == LookAlikes::Refused) return false;
    const bool lookAlike =
        (wrote == L'\u00A5' && came == L'\\') || (wrote == L'\u203E' && came == L'~');
    if (!lookAlike) return false;
  }
  return true;
}

}  // namespace kelmo
