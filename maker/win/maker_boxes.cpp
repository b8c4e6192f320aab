#include "maker/win/maker_boxes.h"

#include "common/failure.h"
#include "common/win/error_msg.h"
#include "maker/maker_identity.h"

namespace kelmo {

int ShowMessageText(HWND owner, const MessageText& message) {
  return MessageBoxW(owner, message.text.c_str(), message.title.c_str(), message.style);
}

void ReportCaughtFailure(HWND owner, std::wstring_view place) {
  ErrorMsg(kMakerProgram, place, CurrentFailure(), owner);
}

}  // namespace kelmo
