#include "tests/wine/dialog_answerer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/wine/wine_test_support.h"

namespace kelmo::testing_support {
namespace {

// The first visible dialog (class #32770) among the process's top-level
// windows, passing over those in `skipped`.
HWND VisibleDialogOf(DWORD processId, const std::vector<HWND>& skipped) {
  for (HWND window : TopLevelWindows(processId)) {
    if (std::find(skipped.begin(), skipped.end(), window) != skipped.end()) continue;
    if (IsWindowVisible(window) && ClassName(window) == L"#32770") return window;
  }
  return nullptr;
}

struct ChildSearch {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK FindChildOfClass(HWND child, LPARAM lParam) {
  auto* search = reinterpret_cast<ChildSearch*>(lParam);
  if (ClassName(child) != search->className) return TRUE;
  search->found = child;
  return FALSE;
}

HWND FirstChildOfClass(HWND parent, const wchar_t* className) {
  ChildSearch search{className, nullptr};
  EnumChildWindows(parent, FindChildOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool HasButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button != nullptr && IsWindowVisible(button);
}

SeenDialog Describe(HWND dialog) {
  SeenDialog seen;
  seen.title = WindowText(dialog);
  HWND text = GetDlgItem(dialog, 0xFFFF);
  if (text == nullptr) text = FirstChildOfClass(dialog, L"Static");
  if (text != nullptr) seen.text = WindowText(text);
  const bool yes = HasButton(dialog, IDYES), no = HasButton(dialog, IDNO);
  const bool ok = HasButton(dialog, IDOK), cancel = HasButton(dialog, IDCANCEL);
  seen.yesNo = yes && no && !ok && !cancel;
  seen.okOnly = ok && !yes && !no && !cancel;
  seen.topmost = (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  return seen;
}

// Dismisses a dialog nobody expected with its most negative button.
void Dismiss(HWND dialog) {
  for (const int id : {IDCANCEL, IDNO, IDOK}) {
    if (HasButton(dialog, id)) {
      PressDialogButton(dialog, id);
      return;
    }
  }
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

HWND FindEdit(HWND dialog) { return FirstChildOfClass(dialog, L"Edit"); }

DialogAnswer TypeAndOk(const std::wstring& text) {
  return [text](HWND dialog) {
    SendMessageW(FindEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PressDialogButton(dialog, IDOK);
  };
}

DialogAnswer Press(int id) {
  return [id](HWND dialog) { PressDialogButton(dialog, id); };
}

DialogAnswer CloseBox() {
  return [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); };
}

DialogAnswer ChooseFile(const std::wstring& path) {
  return [path](HWND dialog) {
    HWND name = GetDlgItem(dialog, 0x47C);                  // cmb13, the Explorer-style box
    if (name == nullptr) name = GetDlgItem(dialog, 0x480);  // edt1, the old style
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PressDialogButton(dialog, IDOK);
  };
}

DialogAnswerer::DialogAnswerer(DWORD processId, std::vector<DialogAnswer> answers)
    : processId_(processId), answers_(std::move(answers)), thread_([this] { Run(); }) {}

DialogAnswerer::~DialogAnswerer() { Finish(); }

void DialogAnswerer::Run() {
  while (!stop_) {
    if (HWND dialog = VisibleDialogOf(processId_, stuck_)) {
      Answer(dialog);
    } else {
      Sleep(10);
    }
  }
}

void DialogAnswerer::Answer(HWND dialog) {
  // A dialog is fully built once its buttons exist; give it a moment.
  WaitUntil([&] { return !IsWindow(dialog) || FindWindowExW(dialog, nullptr, L"Button", nullptr); },
            5000);
  if (!IsWindow(dialog)) return;
  const SeenDialog seen = Describe(dialog);
  std::size_t index;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    index = seen_.size();
    seen_.push_back(seen);
  }
  if (index < answers_.size()) {
    answers_[index](dialog);
  } else {
    Dismiss(dialog);
  }
  const bool closed =
      WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000);
  if (!closed) {
    stuck_.push_back(dialog);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_[index].closed = true;
  }
  ++answered_;
}

bool DialogAnswerer::WaitForAnswered(std::size_t count, int timeoutMs) {
  return WaitUntil([&] { return answered_ >= count; }, timeoutMs);
}

std::vector<SeenDialog> DialogAnswerer::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

std::vector<SeenDialog> DismissBoxesUntilExit(const StartedProcess& process) {
  DialogAnswerer boxes(process.id, {});
  if (!WaitForExit(process, 30000).has_value()) {
    ADD_FAILURE() << "process " << process.id << " did not end";
    KillProcess(process.id);
  }
  return boxes.Finish();
}

}  // namespace kelmo::testing_support
