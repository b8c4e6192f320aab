#include "common/error_report.h"

#include "common/kelmo_build_info.h"
#include "common/text_util.h"

namespace kelmo {

std::wstring BuildErrorReport(std::int32_t number, std::wstring_view description,
                              std::wstring_view place, const ProgramIdentity& program,
                              const Maintainer& maintainer) {
  std::wstring text;
  text += L"エラー番号:";
  text += DecimalText(number, 1);
  text += L"\r\n場所:";
  text += place;
  text += program.productTitle;
  text += DecimalText(program.major, 1);
  text += L'.';
  text += DecimalText(program.minor, 2);
  text += L'.';
  text += DecimalText(program.revision, 4);
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
