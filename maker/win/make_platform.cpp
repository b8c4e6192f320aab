#include "maker/win/make_platform.h"

#include <shlobj.h>

#include "common/failure.h"
#include "common/win/win_text.h"
#include "maker/path_parts.h"
#include "maker/win/maker_boxes.h"
#include "maker/win/name_prompt.h"
#include "maker/win/shell_link.h"

namespace kelmo {
namespace {

using SHGetSpecialFolderPathAFunction = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using SHGetSpecialFolderPathWFunction = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);

// Size of the buffer the desktop lookup writes into, NULs included.
constexpr int kFolderBufferSize = 261;

}  // namespace

FARPROC BindShellFunction(const char* functionName) {
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  if (shell == nullptr) shell = LoadLibraryW(L"shell32.dll");
  FARPROC function = shell == nullptr ? nullptr : GetProcAddress(shell, functionName);
  if (function == nullptr) {
    throw Failure(kMissingFunction, L"DLL エントリ ポイント " + FromAnsi(functionName) +
                                        L" が shell32 に見つかりません。");
  }
  return function;
}

std::vector<std::wstring> Win32MakePlatform::Entries() { return window_.Entries(); }

std::optional<std::wstring> Win32MakePlatform::DesktopFolder() {
  // Through void(*)(): the generic function pointer type GCC lets any
  // function pointer be cast from.
  const auto lookup = reinterpret_cast<SHGetSpecialFolderPathAFunction>(
      reinterpret_cast<void (*)()>(BindShellFunction("SHGetSpecialFolderPathA")));
  char buffer[kFolderBufferSize] = {};
  if (lookup(window_.Handle(), buffer, CSIDL_DESKTOP, FALSE) == 0) return std::nullopt;
  const std::wstring ansiFolder = FromAnsi(UpToNul(std::string_view(buffer, sizeof(buffer))));
  // The ANSI lookup gives a folder whose name the code page cannot hold with
  // its characters changed; the wide lookup tells what the name really is,
  // so that make saves there and not somewhere else.
  const auto wideLookup = reinterpret_cast<SHGetSpecialFolderPathWFunction>(
      reinterpret_cast<void (*)()>(BindShellFunction("SHGetSpecialFolderPathW")));
  wchar_t wide[kFolderBufferSize] = {};
  if (wideLookup(window_.Handle(), wide, CSIDL_DESKTOP, FALSE) == 0 || wide[0] == L'\0') {
    return ansiFolder;
  }
  return std::wstring(wide);
}

std::wstring Win32MakePlatform::MakerFolder() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // truncated: try a larger buffer
  }
  return std::wstring(FolderOf(path));
}

Answer Win32MakePlatform::AskYesNoCancel(const MessageText& question) {
  const int pressed = ShowMessageText(window_.Handle(), question);
  return pressed == IDYES ? Answer::Yes : pressed == IDNO ? Answer::No : Answer::Cancel;
}

bool Win32MakePlatform::FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

LauncherChoice Win32MakePlatform::Launcher() { return window_.Launcher(); }

std::wstring Win32MakePlatform::AskShortcutName(const std::wstring& offered) {
  return AskShortcutNameBox(window_.Handle(), offered);
}

void Win32MakePlatform::ShowMakeFailure(MakeMessage message) {
  ShowMessageText(window_.Handle(), MakeMessageText(message));
}

void Win32MakePlatform::ShowMessage(const MessageText& message) {
  ShowMessageText(window_.Handle(), message);
}

bool Win32MakePlatform::HeldByCodePage(const std::wstring& text, LookAlikes lookAlikes) {
  return ToAnsiExact(text, lookAlikes).has_value();
}

bool Win32MakePlatform::CreateShellLink(const ShellLinkRequest& request) {
  return cShellLink().CreateShellLink(request);
}

}  // namespace kelmo
