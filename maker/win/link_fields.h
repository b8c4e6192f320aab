// What the shell link object reads from one shortcut file, shared by
// cShellLink's operations. Win32 only.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace kelmo {

// An item-identifier list the shell allocated; freed when the owner goes.
class UniqueIdList {
 public:
  UniqueIdList() = default;
  UniqueIdList(const UniqueIdList&) = delete;
  UniqueIdList& operator=(const UniqueIdList&) = delete;
  ~UniqueIdList() { CoTaskMemFree(list_); }
  PIDLIST_ABSOLUTE* put() { return &list_; }
  PCIDLIST_ABSOLUTE get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_ = nullptr;
};

// Every field of one shortcut file, each text up to its first NUL; a field
// whose read failed is nullopt. The show command, the hot key, "run as
// administrator" and the installer's mark come from the file's header where
// it has one: Wine's shell link loads every show command as 1.
struct LinkFields {
  std::optional<std::wstring> target, workDir, arguments, description, iconFile;
  int iconIdx = 0;
  std::optional<WORD> hotkey;
  bool itemListRead = false;
  std::optional<int> showCmd;
  std::optional<bool> runAsAdministrator;
  bool advertised = false;  // an installer's shortcut (SLDF_HAS_DARWINID)
};

// Loads the shortcut `path` and reads its fields; nullopt when the file does
// not load as a shortcut. `pathFlags` (SLGP_*) choose the form the target is
// given in. Throws kelmo::Failure only when the shell link object cannot be
// created.
std::optional<LinkFields> ReadLinkFields(const std::wstring& path, DWORD pathFlags);

}  // namespace kelmo
