// The text of the error report that both programs show for an unexpected failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelmo {

struct ProgramIdentity {
  std::wstring_view productTitle;  // "KelmoPro" or "Kelmo Command line Maker"
  int major;
  int minor;
  int revision;
};

struct Maintainer {
  std::wstring_view name;
  std::wstring_view email;
};

// Five lines joined by CR LF, none after the last:
//   エラー番号:<number>
//   場所:<place><product title><major>.<minor, 2+ digits>.<revision, 4+ digits>
//   <description>
//   上記の説明と、エラーの発生したときの簡単な状況を書いて、
//   "<maintainer>" <<e-mail>> まで連絡してください。
std::wstring BuildErrorReport(std::int32_t number, std::wstring_view description,
                              std::wstring_view place, const ProgramIdentity& program,
                              const Maintainer& maintainer);

// "エラー - " followed by the product title.
std::wstring ErrorReportTitle(std::wstring_view productTitle);

// The maintainer named in every report of this build.
Maintainer ProjectMaintainer();

// Message box style of the report: MB_OK | MB_ICONERROR | MB_SYSTEMMODAL.
inline constexpr unsigned kErrorReportStyle = 0x1010;

}  // namespace kelmo
