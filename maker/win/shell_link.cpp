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
#include "maker/win/link_fields.h"
#include "maker/win/shortcut_save.h"

namespace kelmo {
namespace {

using Microsoft::WRL::ComPtr;

// A shortcut stores its arguments as a counted string; Wine and Windows write
// it uncorrupted below 32767 characters, and the target is a file path.
constexpr int kArgumentsReadSize = 32768;
constexpr int kPathReadSize = MAX_PATH * 2;
constexpr int kDescriptionReadSize = INFOTIPSIZE;

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

// The shell link object created with both interfaces; throws kelmo::Failure
// when it cannot be.
void CreateShellLinkOrThrow(LinkInterfaces& object) {
  if (const HRESULT result = CreateShellLinkObject(object); FAILED(result)) {
    throw Failure(static_cast<std::int32_t>(result), L"シェルリンクオブジェクトを作成できません。");
  }
}

// The one buffer the texts of a link are read into, one after another.
class TextBuffer {
 public:
  // The buffer, empty, for a read of at most `size` (<= kArgumentsReadSize)
  // characters.
  wchar_t* For(int size) {
    text_[0] = L'\0';
    text_[static_cast<std::size_t>(size)] = L'\0';
    return text_.data();
  }
  // The text the read that gave `result` left, up to its first NUL; nullopt
  // when the read failed.
  std::optional<std::wstring> Text(HRESULT result) const {
    if (FAILED(result)) return std::nullopt;
    return std::wstring(text_.c_str());
  }

 private:
  std::wstring text_ = std::wstring(static_cast<std::size_t>(kArgumentsReadSize), L'\0');
};

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

std::optional<LinkFields> ReadLinkFields(const std::wstring& path, DWORD pathFlags) {
  LinkInterfaces object;
  CreateShellLinkOrThrow(object);
  if (FAILED(object.file->Load(path.c_str(), STGM_READ))) return std::nullopt;
  // Read as the shortcut stores them, in wide text: a hand-made shortcut may
  // hold characters the ANSI code page cannot, and an ANSI read would hand
  // back look-alikes or "?" that a make would then save as the group. Make
  // refuses such entries by name instead.
  ComPtr<IShellLinkW> link;
  if (FAILED(object.link.As(&link))) return std::nullopt;
  LinkFields fields;
  TextBuffer buffer;
  WIN32_FIND_DATAW found = {};
  fields.target =
      buffer.Text(link->GetPath(buffer.For(kPathReadSize), kPathReadSize, &found, pathFlags));
  fields.workDir = buffer.Text(link->GetWorkingDirectory(buffer.For(kPathReadSize), kPathReadSize));
  fields.arguments =
      buffer.Text(link->GetArguments(buffer.For(kArgumentsReadSize), kArgumentsReadSize));
  fields.description =
      buffer.Text(link->GetDescription(buffer.For(kDescriptionReadSize), kDescriptionReadSize));
  fields.iconFile =
      buffer.Text(link->GetIconLocation(buffer.For(kPathReadSize), kPathReadSize, &fields.iconIdx));
  UniqueIdList items;
  fields.itemListRead = SUCCEEDED(link->GetIDList(items.put()));
  if (WORD hotkey = 0; SUCCEEDED(link->GetHotkey(&hotkey))) fields.hotkey = hotkey;
  if (int showCmd = 0; SUCCEEDED(link->GetShowCmd(&showCmd))) fields.showCmd = showCmd;
  ComPtr<IShellLinkDataList> data;
  DWORD flags = 0;
  if (SUCCEEDED(object.link.As(&data)) && SUCCEEDED(data->GetFlags(&flags))) {
    fields.runAsAdministrator = (flags & SLDF_RUNAS_USER) != 0;
    fields.advertised = (flags & SLDF_HAS_DARWINID) != 0;
  }
  if (const std::optional<ShortcutHeader> header = ReadHeader(path)) {
    if (header->showCmd != 0) fields.showCmd = header->showCmd;
    fields.hotkey = header->hotkey;
    fields.runAsAdministrator = (header->linkFlags & kRunAsUserFlag) != 0;
    fields.advertised = (header->linkFlags & kAdvertisedFlag) != 0;
  }
  return fields;
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
    // No box and no search: a launcher that is not (yet) in its folder would
    // otherwise bring up the shell's search dialog with no owner. A target
    // left unresolved is still the one SetPath wrote, as make intends.
    link.Resolve(nullptr, SLR_UPDATE | SLR_NO_UI | SLR_NOSEARCH | SLR_NOTRACK);
    return SaveShortcutFile(*object.file.Get(), request.lnkFile,
                            settings.runAsAdministrator ? kRunAsUserFlag : 0);
  } catch (...) {
    // Text conversion ran out of memory: the link is reported as not made.
    return false;
  }
}

bool cShellLink::GetShortcutContents(const std::wstring& LnkFile,
                                     ShortcutContents& contents) const {
  if (LnkFile.empty()) return false;
  const std::optional<LinkFields> fields = ReadLinkFields(LnkFile, SLGP_RAWPATH);
  if (!fields || !fields->arguments) return false;
  // A shortcut to a shell item that is no file has no path to give; its
  // call may fail or give nothing, and both leave the target empty.
  contents.target = fields->target.value_or(std::wstring());
  contents.arguments = *fields->arguments;
  // The settings make keeps: one that cannot be read is kept as a new
  // shortcut has it.
  const ShortcutSettings fresh;
  ShortcutSettings& settings = contents.settings;
  settings.workDir = fields->workDir.value_or(fresh.workDir);
  settings.iconFile = fields->iconFile.value_or(fresh.iconFile);
  settings.iconIdx = fields->iconIdx;
  settings.description = fields->description.value_or(std::wstring());
  settings.showCmd = fields->showCmd.value_or(settings.showCmd);
  settings.hotkey = fields->hotkey.value_or(settings.hotkey);
  settings.runAsAdministrator = fields->runAsAdministrator.value_or(settings.runAsAdministrator);
  contents.advertised = fields->advertised;
  return true;
}

}  // namespace kelmo
