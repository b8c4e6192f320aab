#include "common/text_util.h"

namespace kelmo {

std::wstring TrimSpaces(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return std::wstring();
  const std::size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
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
