// cShellLink's field-by-field interface: the special folder's path, the
// shortcut made from separate texts, and GetShellLinkInfo. The maker window
// calls none of them, so they live in an object file of their own, which
// the linker then leaves out of kelmoCM.exe. Win32 only.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "common/text_util.h"
#include "common/win/win_text.h"
#include "maker/win/link_fields.h"
#include "maker/win/shell_link.h"

namespace kelmo {
namespace {

// GetShellLinkInfo hands back each text as an ANSI buffer of this many
// bytes, its NUL included, would hold it.
constexpr std::size_t kAnsiReadBufferSize = 255;

// `text` as an ANSI buffer of kAnsiReadBufferSize bytes holds it: in the code
// page, with the characters whose bytes fit before the buffer's NUL.
std::wstring AsAnsiRead(std::wstring_view text) {
  std::string ansi = ToAnsi(text);
  std::size_t kept = 0;
  while (kept < ansi.size()) {
    const std::size_t next = kept + (IsDBCSLeadByte(static_cast<BYTE>(ansi[kept])) ? 2 : 1);
    if (next >= kAnsiReadBufferSize) break;
    kept = std::min(next, ansi.size());
  }
  ansi.resize(kept);
  return FromAnsi(ansi);
}

}  // namespace

bool cShellLink::GetSystemFolderPath(HWND hwnd, int Id, std::wstring& sfPath) const {
  UniqueIdList folder;
  if (SHGetSpecialFolderLocation(hwnd, Id, folder.put()) != S_OK) return false;
  char buffer[MAX_PATH + 1] = {};
  if (SHGetPathFromIDListA(folder.get(), buffer) != TRUE) return false;
  const std::wstring path = TrimSpaces(FromAnsi(UpToNul(std::string_view(buffer, sizeof(buffer)))));
  if (!path.empty()) sfPath = path;
  return true;
}

bool cShellLink::CreateShellLink(const std::wstring& LnkFile, const std::wstring& ExeFile,
                                 const std::wstring& WorkDir, const std::wstring& ExeArgs,
                                 const std::wstring& IconFile, int IconIdx, int ShowCmd,
                                 const std::wstring& LnkDiscription) const {
  ShellLinkRequest request;
  request.lnkFile = LnkFile;
  request.exeFile = ExeFile;
  request.exeArgs = ExeArgs;
  request.settings.workDir = WorkDir;
  request.settings.iconFile = IconFile;
  request.settings.iconIdx = IconIdx;
  request.settings.showCmd = ShowCmd;
  request.settings.description = LnkDiscription;
  return CreateShellLink(request);
}

bool cShellLink::GetShellLinkInfo(const std::wstring& LnkFile, std::wstring& ExeFile,
                                  std::wstring& WorkDir, std::wstring& ExeArgs,
                                  std::wstring& IconFile, int& IconIdx, int& ShowCmd) const {
  if (LnkFile.empty()) return false;
  try {
    const std::optional<LinkFields> fields = ReadLinkFields(LnkFile, SLGP_UNCPRIORITY);
    // The outputs in the order of the reads: a failed read ends the call, and
    // the outputs before it keep what they were given.
    if (!fields || !fields->target) return false;
    ExeFile = AsAnsiRead(*fields->target);
    if (!fields->workDir) return false;
    WorkDir = AsAnsiRead(*fields->workDir);
    if (!fields->arguments) return false;
    ExeArgs = AsAnsiRead(*fields->arguments);
    if (!fields->description || !fields->hotkey || !fields->iconFile) return false;
    IconFile = AsAnsiRead(*fields->iconFile);
    IconIdx = fields->iconIdx;
    if (!fields->itemListRead || !fields->showCmd) return false;
    ShowCmd = *fields->showCmd;
    return true;
  } catch (const Failure&) {
    throw;  // the shell link object could not be created
  } catch (...) {
    return false;
  }
}

}  // namespace kelmo
