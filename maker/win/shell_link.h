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

#include "maker/shortcut_contents.h"

namespace kelmo {

class cShellLink {
 public:
  // The path of special folder `Id` (a CSIDL_* number) with leading and
  // trailing spaces removed. True when the shell gave the path; `sfPath` is
  // written only then, and only with a non-empty path.
  bool GetSystemFolderPath(HWND hwnd, int Id, std::wstring& sfPath) const;

  // Writes the shortcut `LnkFile`, replacing a file of that name: the
  // request below with no hot key and without "run as administrator".
  bool CreateShellLink(const std::wstring& LnkFile, const std::wstring& ExeFile,
                       const std::wstring& WorkDir, const std::wstring& ExeArgs,
                       const std::wstring& IconFile, int IconIdx, int ShowCmd,
                       const std::wstring& LnkDiscription) const;

  // Writes the shortcut `request.lnkFile`, replacing a file of that name. An
  // empty workDir, exeArgs or iconFile leaves that field unset (iconIdx is
  // then ignored), a hot key of 0 sets none; exeArgs are stored exactly as
  // given. The target and the arguments reach the shell in the ANSI code
  // page; the settings a shortcut keeps from an opened one (working folder,
  // icon file, description) go as wide text, as they were read. False, with
  // nothing thrown, when exeFile or lnkFile is empty, when the target or the
  // arguments do not survive the code page (ToAnsiExact), when lnkFile names
  // a device, or when any shell call but Resolve (which shows no box and
  // searches nowhere) or the save fails (see SaveShortcutFile); a failed
  // call leaves no file that was not there before, and a shortcut that had
  // the name stays as it was. "Run as administrator" is asked of the shell
  // and made sure of in the saved file's header, which a shell may write
  // without it.
  bool CreateShellLink(const ShellLinkRequest& request) const;

  // Reads the shortcut `LnkFile` back, as GetShortcutContents reads it, with
  // each text as a 255-byte ANSI buffer holds it: cut at its first NUL, in
  // the ANSI code page (a character it cannot hold comes back as what the
  // conversion gives for it), at most 254 bytes of whole characters. The
  // target is given with SLGP_UNCPRIORITY. True when every field (and the
  // description, hotkey and item list, which are not returned) was read;
  // false for an empty LnkFile or a file that does not load. On false,
  // outputs already read keep their new values. Throws kelmo::Failure only
  // when the shell link object itself cannot be created.
  bool GetShellLinkInfo(const std::wstring& LnkFile, std::wstring& ExeFile, std::wstring& WorkDir,
                        std::wstring& ExeArgs, std::wstring& IconFile, int& IconIdx,
                        int& ShowCmd) const;

  // Reads everything a group opened again keeps of the shortcut `LnkFile`,
  // as wide text and not bound to 255-character buffers, so a hand-made
  // shortcut's long arguments come back uncut. The show command, hot key and
  // "run as administrator" come from the file's header where it has one:
  // Wine's shell link loads every show command as 1. True when the file
  // loaded as a shortcut and its target and arguments were read; a shortcut
  // without a file target (a shell item) gives an empty target. Throws
  // kelmo::Failure only when the shell link object cannot be created.
  bool GetShortcutContents(const std::wstring& LnkFile, ShortcutContents& contents) const;
};

}  // namespace kelmo
