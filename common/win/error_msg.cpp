#include "common/win/error_msg.h"

#include <string>

namespace kelmo {

void ErrorMsg(const ProgramIdentity& program, std::wstring_view sPlace, const Failure& failure,
              HWND owner) {
  const std::wstring text = BuildErrorReport(failure.number(), failure.description(), sPlace,
                                             program, ProjectMaintainer());
  const std::wstring title = ErrorReportTitle(program.productTitle);
  MessageBoxW(owner, text.c_str(), title.c_str(), kErrorReportStyle);
}

}  // namespace kelmo
