// cShellLink: writes and reads shortcut (.lnk) files through the shell's own
// link object, and finds the path of a special folder. Win32 only.
//
// The class has no fields: every call creates the shell objects it needs and
// releases them before it returns, so an instance can be made, used for one
// call and dropped. COM must already be initialised on the calling thread.
//
// The shell's declarations the class relies on (CLSID_ShellLink, IShellLinkA,
// IPersistFile, the SLR_* and SLGP_* flags, CSIDL_* numbers) come from the
// Windows headers included here, so they live with the class rather than in a
// declarations file of their own.
#pragma once

// <windows.h> first: the shell headers build on it.
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace kelmo {

class cShellLink {
 public:
  // The path of special folder `Id` (a CSIDL_* number) with leading and
  // trailing spaces removed. True when the shell gave the path; `sfPath` is
  // written only then, and only with a non-empty path.
  bool GetSystemFolderPath(HWND hwnd, int Id, std::wstring& sfPath) const;

  // Writes the shortcut `LnkFile`, replacing a file of that name. An empty
  // WorkDir, ExeArgs or IconFile leaves that field unset (IconIdx is then
  // ignored); ExeArgs are stored exactly as given. Texts reach the shell in
  // the ANSI code page. False, with nothing thrown, when ExeFile or LnkFile
  // is empty, when a path or the arguments do not survive the code page
  // (ToAnsiExact), when LnkFile names a device, or when any shell call fails; a failed call leaves
  // no file that was not there before, and a shortcut that had the name stays as it was.
  bool CreateShellLink(const std::wstring& LnkFile, const std::wstring& ExeFile,
                       const std::wstring& WorkDir, const std::wstring& ExeArgs,
                       const std::wstring& IconFile, int IconIdx, int ShowCmd,
                       const std::wstring& LnkDiscription) const;

  // Reads the shortcut `LnkFile` back. Each text is cut at its first NUL.
  // True when every field (and the description, hotkey and item list, which
  // are not returned) was read; on false, outputs already read keep their new
  // values. Throws kelmo::Failure only when the shell link object itself
  // cannot be created.
  bool GetShellLinkInfo(const std::wstring& LnkFile, std::wstring& ExeFile, std::wstring& WorkDir,
                        std::wstring& ExeArgs, std::wstring& IconFile, int& IconIdx,
                        int& ShowCmd) const;

  // Reads the target and the whole argument string of the shortcut
  // `LnkFile`, for opening a group again: unlike GetShellLinkInfo it is not
  // bound to 255-character buffers, so a hand-made shortcut's long arguments
  // come back uncut. True when the file loaded as a shortcut and both were
  // read; a shortcut without a file target gives an empty ExeFile. Throws
  // kelmo::Failure only when the shell link object cannot be created.
  bool GetShellLinkTarget(const std::wstring& LnkFile, std::wstring& ExeFile,
                          std::wstring& ExeArgs) const;
};

}  // namespace kelmo
