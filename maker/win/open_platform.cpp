#include "maker/win/open_platform.h"

#include "common/win/win_text.h"
#include "maker/win/maker_boxes.h"
#include "maker/win/shell_link.h"
#include "maker/wow64_paths.h"

namespace kelmo {
namespace {

// The short (8.3) form of `path` through the wide call; empty when the
// system gives none (the file is not there).
std::wstring ShortPath(const std::wstring& path) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);  // the size it needs, NUL included
  }
}

void Refuse(MakerWindowAccess& window, OpenMessage message, const std::wstring& path) {
  ShowMessageText(window.Handle(), OpenMessageText(message, path));
}

// `path` with its environment variables (%windir%, ...) expanded as this
// process sees them; a variable that is not set stays as written.
std::wstring ExpandedPath(const std::wstring& path) {
  std::wstring expanded(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (length == 0) return path;
    if (length <= expanded.size()) {
      expanded.resize(length - 1);  // the length counts the NUL
      return expanded;
    }
    expanded.resize(length);
  }
}

// The value of the environment variable `name`; empty when it is not set.
std::wstring Variable(const std::wstring& name) {
  const std::wstring reference = L'%' + name + L'%';
  const std::wstring value = ExpandedPath(reference);
  return value == reference ? std::wstring() : value;
}

ProcessEnvironment CurrentProcess() {
  ProcessEnvironment process;
  BOOL wow64 = FALSE;
  process.wow64 = IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  process.windir = Variable(L"windir");
  process.programW6432 = Variable(L"ProgramW6432");
  process.commonProgramW6432 = Variable(L"CommonProgramW6432");
  return process;
}

// The file system as a 64-bit program sees it, on this thread, while the
// object lives: WOW64 sends no System32 path to SysWOW64.
class NativeFileSystem {
 public:
  explicit NativeFileSystem(bool wow64) : off_(wow64 && Wow64DisableWow64FsRedirection(&old_)) {}
  ~NativeFileSystem() {
    if (off_) Wow64RevertWow64FsRedirection(old_);
  }
  NativeFileSystem(const NativeFileSystem&) = delete;
  NativeFileSystem& operator=(const NativeFileSystem&) = delete;

 private:
  PVOID old_ = nullptr;
  bool off_;
};

}  // namespace

void TakeProgram(MakerWindowAccess& window, const std::wstring& program,
                 const std::wstring& arguments) {
  if (window.Launcher() == LauncherChoice::KelmoPro && ArgumentsCutByKelmoPro(arguments)) {
    Refuse(window, OpenMessage::SlashInArguments, program);
    return;
  }
  const ProcessEnvironment process = CurrentProcess();
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  std::wstring shortPath;
  {
    const NativeFileSystem native(process.wow64);
    attributes = GetFileAttributesW(program.c_str());
    shortPath = ShortPath(program);
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    Refuse(window, OpenMessage::FolderDropped, program);
    return;
  }
  if (shortPath.empty()) {
    Refuse(window, OpenMessage::ProgramNotFound, program);
    return;
  }
  if (!ToAnsiExact(shortPath, LookAlikes::Refused) ||
      !ToAnsiExact(arguments, LookAlikes::Accepted)) {
    Refuse(window, OpenMessage::ProgramNotInCodePage, program);
    return;
  }
  window.SetProgramText(ProgramTextFor(WithSysnative(shortPath, process), arguments));
}

std::optional<ShortcutContents> Win32OpenPlatform::ReadShortcut(const std::wstring& path) {
  ShortcutContents contents;
  if (!cShellLink().GetShortcutContents(path, contents)) return std::nullopt;
  return contents;
}

bool Win32OpenPlatform::ListIsEmpty() { return window_.Entries().empty(); }

bool Win32OpenPlatform::AskYesNo(const MessageText& question) {
  return ShowMessageText(window_.Handle(), question) == IDYES;
}

void Win32OpenPlatform::ShowMessage(const MessageText& message) {
  ShowMessageText(window_.Handle(), message);
}

void Win32OpenPlatform::ShowGroup(const OpenedGroup& group) { window_.ShowGroup(group); }

void Win32OpenPlatform::TakeProgram(const std::wstring& program, const std::wstring& arguments) {
  // A shortcut hands back its target as written, variables and all: Windows'
  // own shortcuts name %windir%\system32\... The program is where the
  // variables point, checked and shortened as any other.
  kelmo::TakeProgram(window_, ExpandedPath(With64BitProgramFolders(program, CurrentProcess())),
                     arguments);
}

void Win32OpenPlatform::TakeFile(const std::wstring& path) {
  kelmo::TakeProgram(window_, path, std::wstring());
}

void OpenCommandLineShortcut(MakerWindowAccess& window,
                             const std::vector<std::wstring>& arguments) {
  try {
    if (arguments.empty()) return;
    Win32OpenPlatform platform(window);
    if (arguments.size() > 1) {
      platform.ShowMessage(OpenMessageText(OpenMessage::SeveralFiles, arguments.front()));
    }
    RunOpen(platform, arguments.front());
  } catch (...) {
    ReportCaughtFailure(window.Handle(), L"Form_Load");
  }
}

}  // namespace kelmo
