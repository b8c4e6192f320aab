#include "maker/shortcut_save.h"

#include "common/win_handle.h"

namespace kelmo {
namespace {

// False only when the file is known to be absent; any other outcome of the
// lookup (present, access denied, a device name) counts as present so that a
// failed save never deletes something it did not make.
bool MayExist(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// True when `path` opens as a file on disk. Names such as NUL.lnk or
// COM1.lnk reach a device, which takes the whole save and keeps nothing.
bool IsDiskFile(const std::wstring& path) {
  const UniqueHandle opened(CreateFileW(path.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return opened && GetFileType(opened.get()) == FILE_TYPE_DISK;
}

// The folder `path` names its file in: "." when it names none, and the root
// itself ("C:\") for a file at the root of a drive.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  if (slash == 0 || path[slash - 1] == L':') return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

// IPersistFile::Save may create the file before it fails to write it; a file
// that was not there before the save is removed again. A save that
// "succeeded" into a device wrote no shortcut and counts as failed.
bool SaveInPlace(IPersistFile& file, const std::wstring& path) {
  const bool existedBefore = MayExist(path);
  if (SUCCEEDED(file.Save(path.c_str(), FALSE))) return IsDiskFile(path);
  if (!existedBefore) DeleteFileW(path.c_str());
  return false;
}

}  // namespace

bool SaveShortcutFile(IPersistFile& file, const std::wstring& path) {
  if (!IsDiskFile(path)) return SaveInPlace(file, path);
  // A fresh, uniquely named file in the same folder: on the same volume, so
  // putting it in place is a rename, which either happens whole or not at all.
  wchar_t fresh[MAX_PATH] = {};
  if (GetTempFileNameW(FolderOf(path).c_str(), L"lnk", 0, fresh) == 0)
    return SaveInPlace(file, path);
  if (SUCCEEDED(file.Save(fresh, FALSE)) &&
      MoveFileExW(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(fresh);
  return false;
}

}  // namespace kelmo
