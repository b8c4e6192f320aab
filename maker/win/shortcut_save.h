// Saving a shortcut file so that a failed save never costs the user
// anything: no half-written file is left behind, and a shortcut that already
// had the name is replaced only by a complete new one. Win32 only.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>

namespace kelmo {

// Saves `file` (a shell link's IPersistFile) as `path`. True only when a
// shortcut now exists on disk under that name.
//
// - When no file had the name, the link is saved there directly; a save
//   that fails removes whatever it had created.
// - When a file on disk had the name, the link is first saved to a fresh
//   file beside it and then moved over the old one, so a save that fails
//   part-way (a full disk, a lost share) leaves the old shortcut whole.
//   When no fresh name can be made there (a full folder, a path near the
//   length limit) the save fails and the old shortcut stays as it was.
// - A name that reaches a device (NUL.lnk, COM1.lnk, see NamesDevice) is
//   refused before Save, so not a byte goes to the device; a save that ends
//   anywhere else than in a disk file is reported as failed.
// - `linkFlags` are bits of the header's LinkFlags the saved file must hold.
//   Where the shell left one out (Wine 8 saves no SLDF_RUNAS_USER), it is set
//   in the saved file before that file takes the name; a header that cannot
//   be read or written fails the save.
bool SaveShortcutFile(IPersistFile& file, const std::wstring& path, std::uint32_t linkFlags = 0);

}  // namespace kelmo
