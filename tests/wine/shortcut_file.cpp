#include "tests/wine/shortcut_file.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>

#include "common/win/win_handle.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo::testing_support {
namespace {

std::uint32_t HeaderField(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof(value));
  return value;
}

constexpr std::size_t kHeaderSize = 0x4C;

// `value` as `size` little-endian bytes at the end of `bytes`.
void Put(std::string& bytes, std::uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string ReadWholeFile(const std::wstring& path) {
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

std::uint32_t ShortcutLinkFlags(const std::wstring& path) {
  const std::string bytes = ReadWholeFile(path);
  return bytes.size() < kHeaderSize ? 0 : HeaderField(bytes, 0x14);
}

int ShortcutShowCommand(const std::wstring& path) {
  const std::string bytes = ReadWholeFile(path);
  return bytes.size() < kHeaderSize ? -1 : static_cast<int>(HeaderField(bytes, 0x3C));
}

std::uint16_t ShortcutHotkey(const std::wstring& path) {
  const std::string bytes = ReadWholeFile(path);
  return bytes.size() < kHeaderSize ? 0 : static_cast<std::uint16_t>(HeaderField(bytes, 0x40));
}

ArgumentsOn ShortcutArgumentsOn(const std::wstring& path) {
  const std::string bytes = ReadWholeFile(path);
  if (bytes.size() < kHeaderSize) return {};
  const std::uint32_t flags = HeaderField(bytes, 0x14);
  const auto count = [&](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
  };
  std::size_t at = kHeaderSize;
  constexpr std::uint32_t kHasIdList = 0x1, kHasLinkInfo = 0x2, kIsUnicode = 0x80;
  if (flags & kHasIdList) {
    if (at + 2 > bytes.size()) return {};
    at += 2 + count(at);
  }
  if (flags & kHasLinkInfo) {
    if (at + 4 > bytes.size()) return {};
    at += HeaderField(bytes, at);
  }
  const std::size_t unit = (flags & kIsUnicode) ? 2 : 1;
  // Description, relative path and working folder come before the arguments.
  for (const std::uint32_t field : {0x4u, 0x8u, kHasWorkingDir}) {
    if (!(flags & field)) continue;
    if (at + 2 > bytes.size()) return {};
    at += 2 + count(at) * unit;
  }
  if (!(flags & kHasArguments) || at + 2 > bytes.size()) return {};
  const std::size_t length = count(at);
  if (at + 2 + length * unit > bytes.size()) return {};
  ArgumentsOn found;
  found.bytes = bytes.substr(at);
  if (unit == 2) {
    found.arguments.resize(length);
    std::memcpy(found.arguments.data(), bytes.data() + at + 2, length * 2);
  } else {
    found.arguments.resize(length);
    const int made = MultiByteToWideChar(CP_ACP, 0, bytes.data() + at + 2, static_cast<int>(length),
                                         found.arguments.data(), static_cast<int>(length));
    found.arguments.resize(static_cast<std::size_t>(made < 0 ? 0 : made));
  }
  // Wine counts the string's terminating NUL in its length; Windows does not.
  if (!found.arguments.empty() && found.arguments.back() == L'\0') found.arguments.pop_back();
  return found;
}

ShortcutTexts ReadShortcutTexts(const std::wstring& path) {
  Microsoft::WRL::ComPtr<IShellLinkW> link;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  wchar_t target[MAX_PATH] = {}, arguments[INFOTIPSIZE] = {}, workDir[MAX_PATH] = {},
          icon[MAX_PATH] = {}, description[INFOTIPSIZE] = {};
  int iconIdx = -1;
  if (FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ)) ||
      FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
      FAILED(link->GetArguments(arguments, INFOTIPSIZE)) ||
      FAILED(link->GetWorkingDirectory(workDir, MAX_PATH)) ||
      FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIdx)) ||
      FAILED(link->GetDescription(description, INFOTIPSIZE))) {
    return {L"<unreadable>", L"<unreadable>", L"<unreadable>", L"<unreadable>", L"<unreadable>"};
  }
  return {target, arguments, workDir, icon, description, iconIdx};
}

std::wstring ShortcutDescription(const std::wstring& path) {
  return ReadShortcutTexts(path).description;
}

std::wstring WriteHandMadeShortcut(const std::wstring& lnk, const HandMadeShortcut& shortcut) {
  Microsoft::WRL::ComPtr<IShellLinkW> link;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file))) {
    ADD_FAILURE() << "no shell link object";
    return lnk;
  }
  if (shortcut.shellItem >= 0) {
    PIDLIST_ABSOLUTE item = nullptr;
    EXPECT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, shortcut.shellItem, &item));
    link->SetIDList(item);
    CoTaskMemFree(item);
  } else {
    link->SetPath(shortcut.target.c_str());
  }
  link->SetArguments(shortcut.arguments.c_str());
  if (!shortcut.workDir.empty()) link->SetWorkingDirectory(shortcut.workDir.c_str());
  if (!shortcut.iconFile.empty())
    link->SetIconLocation(shortcut.iconFile.c_str(), shortcut.iconIdx);
  if (shortcut.hotkey != 0) link->SetHotkey(shortcut.hotkey);
  link->SetShowCmd(shortcut.showCmd);
  if (!shortcut.description.empty()) link->SetDescription(shortcut.description.c_str());
  EXPECT_HRESULT_SUCCEEDED(file->Save(lnk.c_str(), TRUE)) << "writing a shortcut by hand";
  if (shortcut.runAsUser || shortcut.advertised) {
    // Wine's shell link saves neither flag, whatever SetFlags was given.
    std::string bytes = ReadWholeFile(lnk);
    if (bytes.size() < kHeaderSize) {
      ADD_FAILURE() << "no header to mark as run as administrator";
      return lnk;
    }
    if (shortcut.runAsUser) bytes[0x15] = static_cast<char>(bytes[0x15] | (kRunAsUser >> 8));
    // SLDF_HAS_DARWINID, and its DarwinDataBlock ([MS-SHLLINK] 2.5.3) before
    // the terminal block: Wine refuses the flag without one.
    if (shortcut.advertised) {
      bytes[0x15] = static_cast<char>(bytes[0x15] | 0x10);
      bytes.insert(bytes.size() - 4,
                   std::string("\x14\x03\0\0\x06\0\0\xA0", 8) + std::string(780, '\0'));
    }
    WriteTextFile(lnk, bytes);
  }
  return lnk;
}

std::wstring WriteEnvironmentShortcut(const std::wstring& lnk, const std::wstring& rawTarget) {
  const std::string ansi(rawTarget.begin(), rawTarget.end());
  std::string bytes;
  // The header: its size, CLSID_ShellLink, HasLinkInfo | IsUnicode | HasExpString, all else 0.
  for (const std::uint32_t field : {0x4Cu, 0x21401u, 0u, 0xC0u, 0x46000000u, 0x282u}) {
    Put(bytes, field);
  }
  bytes.resize(kHeaderSize, '\0');
  // LinkInfo: its header, a fixed drive's volume without a label, the local
  // base path and an empty suffix.
  const auto size = static_cast<std::uint32_t>(0x2D + ansi.size() + 2);
  for (const std::uint32_t field :
       {size, 0x1Cu, 1u, 0x1Cu, 0x2Du, 0u, size - 1, 0x11u, 3u, 0u, 0x10u}) {
    Put(bytes, field);
  }
  bytes += std::string(1, '\0') + ansi + '\0' + '\0';
  // The EnvironmentVariableDataBlock (ANSI and wide target), then the terminal block.
  Put(bytes, 0x314);
  Put(bytes, 0xA0000001);
  bytes += ansi + std::string(260 - ansi.size(), '\0');
  for (std::size_t i = 0; i < 260; ++i) Put(bytes, i < rawTarget.size() ? rawTarget[i] : 0, 2);
  Put(bytes, 0);
  WriteTextFile(lnk, bytes);
  return lnk;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring DesktopFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOP, FALSE);
  return path;
}

DesktopSnapshot::DesktopSnapshot() : folder_(DesktopFolder()), before_(FilesIn(folder_)) {}

DesktopSnapshot::~DesktopSnapshot() {
  for (const std::wstring& name : NewFiles()) DeleteFileW(File(name).c_str());
}

std::vector<std::wstring> DesktopSnapshot::NewFiles() const {
  std::vector<std::wstring> added;
  for (const std::wstring& name : FilesIn(folder_)) {
    if (!std::binary_search(before_.begin(), before_.end(), name)) added.push_back(name);
  }
  return added;
}

}  // namespace kelmo::testing_support
