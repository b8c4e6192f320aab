#include "maker/win/shell_link.h"

#include <objbase.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "common/text_util.h"
#include "common/win/win_handle.h"
#include "common/win/win_text.h"
#include "maker/shortcut_open.h"
#include "maker/win/shortcut_save.h"

namespace kelmo {
namespace {

using Microsoft::WRL::ComPtr;

// Every text read from a shortcut comes through a buffer of this many
// characters, filled with spaces beforehand.
constexpr int kReadBufferSize = 255;
// A shortcut stores its arguments as a counted string; Wine and Windows write
// it uncorrupted below 32767 characters, and the target is a file path.
constexpr std::size_t kArgumentsReadSize = 32768;
constexpr std::size_t kPathReadSize = MAX_PATH * 2;
constexpr std::size_t kDescriptionReadSize = INFOTIPSIZE;

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

struct LinkInterfaces {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
};

// The shell link object with both interfaces, or the failing HRESULT.
HRESULT CreateShellLinkObject(LinkInterfaces& object) {
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(object.link.GetAddressOf()));
  if (FAILED(result)) return result;
  return object.link.As(&object.file);
}

// A buffer of kReadBufferSize spaces for one text read from the link.
struct ReadBuffer {
  ReadBuffer() { std::fill_n(chars, kReadBufferSize, ' '); }
  std::wstring Text() const { return FromAnsi(UpToNul(std::string_view(chars, kReadBufferSize))); }
  char chars[kReadBufferSize];
};

// The shell link object created with both interfaces; throws kelmo::Failure
// when it cannot be.
void CreateShellLinkOrThrow(LinkInterfaces& object) {
  if (const HRESULT result = CreateShellLinkObject(object); FAILED(result)) {
    throw Failure(static_cast<std::int32_t>(result), L"シェルリンクオブジェクトを作成できません。");
  }
}

// A text of at most `size` characters that `read` writes into a buffer,
// up to its first NUL; nullopt when the read fails.
template <typename Read>
std::optional<std::wstring> ReadWide(std::size_t size, Read read) {
  std::wstring text(size, L'\0');
  if (FAILED(read(text.data(), static_cast<int>(size)))) return std::nullopt;
  if (const std::size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
  return text;
}

// The fixed header at the start of the file `path`, when it has one.
std::optional<ShortcutHeader> ReadHeader(const std::wstring& path) {
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  char bytes[kShortcutHeaderSize] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes, sizeof(bytes), &read, nullptr)) return std::nullopt;
  return ParseShortcutHeader(std::string_view(bytes, read));
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

bool cShellLink::CreateShellLink(const ShellLinkRequest& request) const {
  if (request.exeFile.empty() || request.lnkFile.empty()) return false;
  const ShortcutSettings& settings = request.settings;
  try {
    LinkInterfaces object;
    if (FAILED(CreateShellLinkObject(object))) return false;
    IShellLinkA& link = *object.link.Get();
    ComPtr<IShellLinkW> wide;
    if (FAILED(object.link.As(&wide))) return false;
    // A target or argument the code page cannot hold would make the shortcut
    // start something else: no shortcut is better than that one.
    const std::optional<std::string> exeFile = ToAnsiExact(request.exeFile);
    const std::optional<std::string> exeArgs = ToAnsiExact(request.exeArgs);
    if (!exeFile || !exeArgs) return false;
    if (FAILED(link.SetPath(exeFile->c_str()))) return false;
    if (!settings.workDir.empty() && FAILED(wide->SetWorkingDirectory(settings.workDir.c_str()))) {
      return false;
    }
    if (!request.exeArgs.empty() && FAILED(link.SetArguments(exeArgs->c_str()))) return false;
    if (!settings.iconFile.empty() &&
        FAILED(wide->SetIconLocation(settings.iconFile.c_str(), settings.iconIdx))) {
      return false;
    }
    if (FAILED(wide->SetDescription(settings.description.c_str()))) return false;
    if (FAILED(link.SetShowCmd(settings.showCmd))) return false;
    if (settings.hotkey != 0 && FAILED(link.SetHotkey(settings.hotkey))) return false;
    if (settings.runAsAdministrator) {
      ComPtr<IShellLinkDataList> data;
      DWORD flags = 0;
      if (FAILED(object.link.As(&data)) || FAILED(data->GetFlags(&flags)) ||
          FAILED(data->SetFlags(flags | SLDF_RUNAS_USER))) {
        return false;
      }
    }
    if (FAILED(link.Resolve(nullptr, SLR_UPDATE))) return false;
    return SaveShortcutFile(*object.file.Get(), request.lnkFile,
                            settings.runAsAdministrator ? kRunAsUserFlag : 0);
  } catch (...) {
    // Text conversion ran out of memory: the link is reported as not made.
    return false;
  }
}

bool cShellLink::GetShellLinkInfo(const std::wstring& LnkFile, std::wstring& ExeFile,
                                  std::wstring& WorkDir, std::wstring& ExeArgs,
                                  std::wstring& IconFile, int& IconIdx, int& ShowCmd) const {
  if (LnkFile.empty()) return false;
  LinkInterfaces object;
  CreateShellLinkOrThrow(object);
  IShellLinkA& link = *object.link.Get();
  try {
    if (FAILED(object.file->Load(LnkFile.c_str(), STGM_READ))) return false;

    ReadBuffer path;
    WIN32_FIND_DATAA found = {};
    if (FAILED(link.GetPath(path.chars, kReadBufferSize, &found, SLGP_UNCPRIORITY))) return false;
    ExeFile = path.Text();

    ReadBuffer workDir;
    if (FAILED(link.GetWorkingDirectory(workDir.chars, kReadBufferSize))) return false;
    WorkDir = workDir.Text();

    ReadBuffer arguments;
    if (FAILED(link.GetArguments(arguments.chars, kReadBufferSize))) return false;
    ExeArgs = arguments.Text();

    ReadBuffer description;
    if (FAILED(link.GetDescription(description.chars, kReadBufferSize))) return false;
    WORD hotkey = 0;
    if (FAILED(link.GetHotkey(&hotkey))) return false;

    ReadBuffer icon;
    int iconIndex = 0;
    if (FAILED(link.GetIconLocation(icon.chars, kReadBufferSize, &iconIndex))) return false;
    IconFile = icon.Text();
    IconIdx = iconIndex;

    UniqueIdList items;
    if (FAILED(link.GetIDList(items.put()))) return false;

    int showCmd = 0;
    if (FAILED(link.GetShowCmd(&showCmd))) return false;
    ShowCmd = showCmd;
    return true;
  } catch (...) {
    return false;
  }
}

bool cShellLink::GetShortcutContents(const std::wstring& LnkFile,
                                     ShortcutContents& contents) const {
  if (LnkFile.empty()) return false;
  LinkInterfaces object;
  CreateShellLinkOrThrow(object);
  if (FAILED(object.file->Load(LnkFile.c_str(), STGM_READ))) return false;
  // Read as the shortcut stores them, in wide text: a hand-made shortcut may
  // hold characters the ANSI code page cannot, and an ANSI read would hand
  // back look-alikes or "?" that a make would then save as the group. Make
  // refuses such entries by name instead.
  ComPtr<IShellLinkW> link;
  if (FAILED(object.link.As(&link))) return false;
  // A shortcut to a shell item that is no file has no path to give; its
  // call may fail or give nothing, and both leave the target empty.
  WIN32_FIND_DATAW found = {};
  contents.target = ReadWide(kPathReadSize, [&](wchar_t* buffer, int size) {
                      return link->GetPath(buffer, size, &found, SLGP_RAWPATH);
                    }).value_or(std::wstring());
  const std::optional<std::wstring> arguments =
      ReadWide(kArgumentsReadSize,
               [&](wchar_t* buffer, int size) { return link->GetArguments(buffer, size); });
  if (!arguments) return false;
  contents.arguments = *arguments;
  // The settings make keeps: one that cannot be read is kept as a new
  // shortcut has it.
  const ShortcutSettings fresh;
  contents.settings.workDir = ReadWide(kPathReadSize, [&](wchar_t* buffer, int size) {
                                return link->GetWorkingDirectory(buffer, size);
                              }).value_or(fresh.workDir);
  int iconIdx = 0;
  contents.settings.iconFile = ReadWide(kPathReadSize, [&](wchar_t* buffer, int size) {
                                 return link->GetIconLocation(buffer, size, &iconIdx);
                               }).value_or(fresh.iconFile);
  contents.settings.iconIdx = iconIdx;
  contents.settings.description = ReadWide(kDescriptionReadSize, [&](wchar_t* buffer, int size) {
                                    return link->GetDescription(buffer, size);
                                  }).value_or(std::wstring());
  if (int showCmd = 0; SUCCEEDED(link->GetShowCmd(&showCmd))) contents.settings.showCmd = showCmd;
  if (WORD hotkey = 0; SUCCEEDED(link->GetHotkey(&hotkey))) contents.settings.hotkey = hotkey;
  ComPtr<IShellLinkDataList> data;
  DWORD flags = 0;
  if (SUCCEEDED(object.link.As(&data)) && SUCCEEDED(data->GetFlags(&flags))) {
    contents.settings.runAsAdministrator = (flags & SLDF_RUNAS_USER) != 0;
  }
  if (const std::optional<ShortcutHeader> header = ReadHeader(LnkFile)) {
    if (header->showCmd != 0) contents.settings.showCmd = header->showCmd;
    contents.settings.hotkey = header->hotkey;
    contents.settings.runAsAdministrator = (header->linkFlags & kRunAsUserFlag) != 0;
  }
  return true;
}

}  // namespace kelmo
