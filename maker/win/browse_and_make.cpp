#include "maker/win/browse_and_make.h"

#include <commdlg.h>

#include <string_view>

#include "common/failure.h"
#include "common/win/error_msg.h"
#include "common/win/win_text.h"
#include "maker/maker_identity.h"
#include "maker/shortcut_make.h"
#include "maker/win/make_platform.h"
#include "maker/win/maker_boxes.h"

namespace kelmo {
namespace {

// The OPENFILENAMEA size that every version of comdlg32 accepts (the fields
// up to lpTemplateName; 76 bytes on x86); today's headers declare a larger
// structure. The header's macro is no constant expression.
const DWORD kOpenFileNameSize = OPENFILENAME_SIZE_VERSION_400A;
constexpr DWORD kOpenFileFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr int kFileBufferSize = 255;
// GetShortPathNameA writes into 261 characters and is told 260.
constexpr int kShortPathBufferSize = 261;

// Pairs of description and pattern, each ended by a NUL, the whole by a
// second NUL (the string literal's own).
constexpr char kFilter[] =
    "Executable (*.exe;*.com;*.bat)\0*.EXE;*.COM;*.BAT\0"
    "All Files (*.*)\0*.*\0";

// Lets the user pick a program file and puts its short path into txtCmd,
// in double quotes where it holds a space (ProgramTextFor): the volume keeps
// no short names. A cancelled dialog changes nothing.
void Browse(MakerWindowAccess& window) {
  char file[kFileBufferSize] = {};
  const std::string title = ToAnsi(L"ファイルの参照");
  OPENFILENAMEA request = {};
  request.lStructSize = kOpenFileNameSize;
  request.hwndOwner = window.Handle();
  request.hInstance = GetModuleHandleW(nullptr);
  request.lpstrFilter = kFilter;
  request.lpstrFile = file;
  request.nMaxFile = kFileBufferSize;
  request.lpstrInitialDir = "";
  request.lpstrTitle = title.c_str();
  request.Flags = kOpenFileFlags;
  if (!GetOpenFileNameA(&request)) return;

  // The dialog's buffer is already ANSI: it goes to the ANSI short-path call
  // as it is. When the path has no short form the text box becomes empty.
  char shortPath[kShortPathBufferSize] = {};
  GetShortPathNameA(file, shortPath, kShortPathBufferSize - 1);
  window.SetProgramText(
      ProgramTextFor(FromAnsi(UpToNul(std::string_view(shortPath, sizeof(shortPath)))), {}));
}

void Make(MakerWindowAccess& window) {
  Win32MakePlatform platform(window);
  RunMake(platform, window.Group());
}

// The handler's one error trap: the missing desktop lookup has a message of
// its own; everything else is reported.
void ReportCmdCmdFailure(HWND owner, const Failure& failure) {
  if (failure.number() == kMissingFunction) {
    ShowMessageText(owner, MissingFunctionMessage());
    return;
  }
  ErrorMsg(kMakerProgram, L"cmdCmd_Click", failure, owner);
}

}  // namespace

void cmdCmd_Click(MakerWindowAccess& window, int index) {
  try {
    switch (index) {
      case 0:
        Browse(window);
        break;
      case 1:
        Make(window);
        break;
      default:
        break;
    }
  } catch (...) {
    ReportCmdCmdFailure(window.Handle(), CurrentFailure());
  }
}

}  // namespace kelmo
