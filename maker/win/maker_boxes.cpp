#include "maker/win/maker_boxes.h"

#include "common/failure.h"
#include "common/win/error_msg.h"
#include "common/win/win_text.h"
#include "maker/maker_identity.h"

namespace kelmo {

int ShowMessageText(HWND owner, const MessageText& message) {
  return MessageBoxA(owner, ToAnsi(message.text).c_str(), ToAnsi(message.title).c_str(),
                     message.style);
}

void ReportCaughtFailure(HWND owner, std::wstring_view place) {
  ErrorMsg(kMakerProgram, place, CurrentFailure(), owner);
}

}  // namespace kelmo
