#include "common/win/error_msg.h"

#include "common/win/win_text.h"

namespace kelmo {

void ErrorMsg(const ProgramIdentity& program, std::wstring_view sPlace, const Failure& failure,
              HWND owner) {
  const std::string text = ToAnsi(BuildErrorReport(failure.number(), failure.description(), sPlace,
                                                   program, ProjectMaintainer()));
  const std::string title = ToAnsi(ErrorReportTitle(program.productTitle));
  MessageBoxA(owner, text.c_str(), title.c_str(), kErrorReportStyle);
}

}  // namespace kelmo
