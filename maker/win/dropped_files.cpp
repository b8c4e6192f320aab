#include "maker/win/dropped_files.h"

#include "maker/win/maker_boxes.h"
#include "maker/win/open_platform.h"

namespace kelmo {

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
