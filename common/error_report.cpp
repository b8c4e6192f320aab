#include "common/error_report.h"

#include "common/kelmo_build_info.h"

namespace kelmo {

namespace {

// Decimal digits of `value`, padded with leading zeros to at least `width`.
std::wstring Padded(long long value, std::size_t width) {
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
  if (negative) digits.insert(digits.begin(), L'-');
  return digits;
}

}  // namespace

std::wstring BuildErrorReport(std::int32_t number, std::wstring_view description,
                              std::wstring_view place, const ProgramIdentity& program,
                              const Maintainer& maintainer) {
  std::wstring text;
  text += L"エラー番号:";
  text += Padded(number, 1);
  text += L"\r\n場所:";
  text += place;
  text += program.productTitle;
  text += Padded(program.major, 1);
  text += L'.';
  text += Padded(program.minor, 2);
  text += L'.';
  text += Padded(program.revision, 4);
  text += L"\r\n";
  text += description;
  text += L"\r\n上記の説明と、エラーの発生したときの簡単な状況を書いて、\r\n\"";
  text += maintainer.name;
  text += L"\" <";
  text += maintainer.email;
  text += L"> まで連絡してください。";
  return text;
}

std::wstring ErrorReportTitle(std::wstring_view productTitle) {
  return L"エラー - " + std::wstring(productTitle);
}

Maintainer ProjectMaintainer() { return {KELMO_MAINTAINER_NAME, KELMO_MAINTAINER_EMAIL}; }

}  // namespace kelmo
