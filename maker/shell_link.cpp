#include "maker/shell_link.h"

#include <objbase.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "common/text_util.h"
#include "common/win_text.h"
#include "maker/shortcut_save.h"

namespace kelmo {
namespace {

using Microsoft::WRL::ComPtr;

// Every text read from a shortcut comes through a buffer of this many
// characters, filled with spaces beforehand.
constexpr int kReadBufferSize = 255;
// A shortcut stores its arguments as a counted string; Wine and Windows write
// it uncorrupted below 32767 characters, and the target is a file path.
constexpr std::size_t kArgumentsReadSize = 32768;
constexpr std::size_t kTargetReadSize = MAX_PATH * 2;

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
  if (ExeFile.empty() || LnkFile.empty()) return false;
  try {
    LinkInterfaces object;
    if (FAILED(CreateShellLinkObject(object))) return false;
    IShellLinkA& link = *object.link.Get();
    // A path or argument the code page cannot hold would make the shortcut
    // start something else: no shortcut is better than that one.
    const std::optional<std::string> exeFile = ToAnsiExact(ExeFile);
    const std::optional<std::string> workDir = ToAnsiExact(WorkDir);
    const std::optional<std::string> exeArgs = ToAnsiExact(ExeArgs);
    const std::optional<std::string> iconFile = ToAnsiExact(IconFile);
    if (!exeFile || !workDir || !exeArgs || !iconFile) return false;
    if (FAILED(link.SetPath(exeFile->c_str()))) return false;
    if (!WorkDir.empty() && FAILED(link.SetWorkingDirectory(workDir->c_str()))) return false;
    if (!ExeArgs.empty() && FAILED(link.SetArguments(exeArgs->c_str()))) return false;
    if (!IconFile.empty() && FAILED(link.SetIconLocation(iconFile->c_str(), IconIdx))) {
      return false;
    }
    if (FAILED(link.SetDescription(ToAnsi(LnkDiscription).c_str()))) return false;
    if (FAILED(link.SetShowCmd(ShowCmd))) return false;
    if (FAILED(link.Resolve(nullptr, SLR_UPDATE))) return false;
    return SaveShortcutFile(*object.file.Get(), LnkFile);
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
  if (const HRESULT result = CreateShellLinkObject(object); FAILED(result)) {
    throw Failure(static_cast<std::int32_t>(result), L"シェルリンクオブジェクトを作成できません。");
  }
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

bool cShellLink::GetShellLinkTarget(const std::wstring& LnkFile, std::wstring& ExeFile,
                                    std::wstring& ExeArgs) const {
  if (LnkFile.empty()) return false;
  LinkInterfaces object;
  if (const HRESULT result = CreateShellLinkObject(object); FAILED(result)) {
    throw Failure(static_cast<std::int32_t>(result), L"シェルリンクオブジェクトを作成できません。");
  }
  if (FAILED(object.file->Load(LnkFile.c_str(), STGM_READ))) return false;
  // Read as the shortcut stores them, in wide text: a hand-made shortcut may
  // hold characters the ANSI code page cannot, and an ANSI read would hand
  // back look-alikes or "?" that a make would then save as the group. Make
  // refuses such entries by name instead.
  ComPtr<IShellLinkW> wideLink;
  if (FAILED(object.link.As(&wideLink))) return false;
  std::wstring target(kTargetReadSize, L'\0');
  WIN32_FIND_DATAW found = {};
  if (FAILED(wideLink->GetPath(target.data(), static_cast<int>(target.size()), &found,
                               SLGP_RAWPATH))) {
    return false;
  }
  std::wstring arguments(kArgumentsReadSize, L'\0');
  if (FAILED(wideLink->GetArguments(arguments.data(), static_cast<int>(arguments.size())))) {
    return false;
  }
  ExeFile = target.substr(0, target.find(L'\0'));
  ExeArgs = arguments.substr(0, arguments.find(L'\0'));
  return true;
}

}  // namespace kelmo
