#include "maker/win/shortcut_save.h"

#include <optional>
#include <string_view>

#include "common/win/win_handle.h"
#include "maker/path_parts.h"
#include "maker/shortcut_make.h"
#include "maker/shortcut_open.h"

namespace kelmo {
namespace {

// The longest folder GetTempFileNameW makes a name in: the name it adds
// ("\lnkXXXX.tmp" and its NUL) must fit in MAX_PATH.
constexpr std::size_t kMaxTempFolderLength = MAX_PATH - 14;

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

// The folder `path` names its file in: "." when it names none.
std::wstring FolderOfFile(const std::wstring& path) {
  const std::wstring_view folder = FolderOf(path);
  return folder.empty() ? std::wstring(L".") : std::wstring(folder);
}

// True when the header of the saved shortcut `path` holds every bit of
// `linkFlags`, after setting those the shell left out.
bool HoldsLinkFlags(const std::wstring& path, std::uint32_t linkFlags) {
  if (linkFlags == 0) return true;
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char bytes[kShortcutHeaderSize] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes, sizeof(bytes), &read, nullptr)) return false;
  const std::optional<ShortcutHeader> header = ParseShortcutHeader(std::string_view(bytes, read));
  if (!header) return false;
  if ((header->linkFlags & linkFlags) == linkFlags) return true;
  const std::uint32_t flags = header->linkFlags | linkFlags;
  const unsigned char field[4] = {
      static_cast<unsigned char>(flags), static_cast<unsigned char>(flags >> 8),
      static_cast<unsigned char>(flags >> 16), static_cast<unsigned char>(flags >> 24)};
  DWORD written = 0;
  return SetFilePointer(file.get(), kLinkFlagsOffset, nullptr, FILE_BEGIN) == kLinkFlagsOffset &&
         WriteFile(file.get(), field, sizeof(field), &written, nullptr) && written == sizeof(field);
}

// IPersistFile::Save may create the file before it fails to write it; a file
// that was not there before the save is removed again. A save that
// "succeeded" into a device wrote no shortcut and counts as failed.
bool SaveInPlace(IPersistFile& file, const std::wstring& path, std::uint32_t linkFlags) {
  const bool existedBefore = MayExist(path);
  if (SUCCEEDED(file.Save(path.c_str(), FALSE))) {
    if (!IsDiskFile(path)) return false;
    if (HoldsLinkFlags(path, linkFlags)) return true;
  }
  if (!existedBefore) DeleteFileW(path.c_str());
  return false;
}

}  // namespace

bool SaveShortcutFile(IPersistFile& file, const std::wstring& path, std::uint32_t linkFlags) {
  // A device takes the bytes as they are written (a serial or printer port
  // would send them on), so such a name never reaches Save.
  if (NamesDevice(path)) return false;
  if (!IsDiskFile(path)) return SaveInPlace(file, path, linkFlags);
  // A fresh, uniquely named file in the same folder: on the same volume, so
  // putting it in place is a rename, which either happens whole or not at all.
  // Without a fresh name (a full folder, a folder path too long for one)
  // the save fails: writing over the old shortcut in place could leave it
  // half written. The system takes folders of at most MAX_PATH - 14
  // characters; Wine does not check and would write past the buffer.
  const std::wstring folder = FolderOfFile(path);
  if (folder.size() > kMaxTempFolderLength) return false;
  wchar_t fresh[MAX_PATH] = {};
  if (GetTempFileNameW(folder.c_str(), L"lnk", 0, fresh) == 0) return false;
  if (SUCCEEDED(file.Save(fresh, FALSE)) && HoldsLinkFlags(fresh, linkFlags) &&
      MoveFileExW(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(fresh);
  return false;
}

}  // namespace kelmo
