#include "maker/win/dropped_files.h"

#include "common/win/win_text.h"
#include "maker/win/make_platform.h"
#include "maker/win/maker_form.h"
#include "maker/win/open_platform.h"

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

}  // namespace

std::vector<std::wstring> DroppedFiles(HDROP drop) {
  std::vector<std::wstring> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring file(static_cast<std::size_t>(length) + 1, L'\0');
    file.resize(DragQueryFileW(drop, i, file.data(), length + 1));
    files.push_back(std::move(file));
  }
  return files;
}

void TakeProgram(MakerWindowAccess& window, const std::wstring& program,
                 const std::wstring& arguments) {
  const DWORD attributes = GetFileAttributesW(program.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    Refuse(window, OpenMessage::FolderDropped, program);
    return;
  }
  const std::wstring shortPath = ShortPath(program);
  if (shortPath.empty()) {
    Refuse(window, OpenMessage::ProgramNotFound, program);
    return;
  }
  if (!ToAnsiExact(shortPath, LookAlikes::Refused) ||
      !ToAnsiExact(arguments, LookAlikes::Accepted)) {
    Refuse(window, OpenMessage::ProgramNotInCodePage, program);
    return;
  }
  const std::wstring path = DroppedProgramText(shortPath, window.Launcher());
  window.SetProgramText(arguments.empty() ? path : path + L' ' + arguments);
}

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

void Form_DropFiles(MakerWindowAccess& window, UniqueDrop drop) {
  try {
    const std::vector<std::wstring> files = DroppedFiles(drop.get());
    // The drop's memory is ours to release; done before any box is shown.
    drop.reset();
    if (files.empty()) return;
    const std::wstring& first = files.front();
    if (files.size() > 1) {
      ShowMessageText(window.Handle(), OpenMessageText(OpenMessage::SeveralFiles, first));
    }
    if (HasShortcutExtension(first)) {
      Win32OpenPlatform platform(window);
      RunOpen(platform, first, OtherTarget::ProgramText);
      return;
    }
    TakeProgram(window, first, std::wstring());
  } catch (...) {
    ReportCaughtFailure(window.Handle(), L"Form_DropFiles");
  }
}

}  // namespace kelmo
