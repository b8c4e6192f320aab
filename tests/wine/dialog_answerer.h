// Answers the dialogs and message boxes that one process shows, on a thread
// of its own, while the test drives the process (often blocked inside a
// modal loop). Each dialog is recorded and given the next answer in turn;
// a dialog beyond the answers is recorded as well and dismissed, so an
// unexpected box never hangs a test. A dialog that stays up after its answer
// is recorded once, as not closed, and left alone.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelmo::testing_support {

// The titles of the boxes and dialogs the two programs show.
inline constexpr wchar_t kLauncherErrorTitle[] = L"エラー - KelmoPro";
inline constexpr wchar_t kPromptTitle[] = L"名前は? - KelmoCM";
inline constexpr wchar_t kFailureTitle[] = L"make失敗 - KelmoCM";
inline constexpr wchar_t kOpenTitle[] = L"開く - KelmoCM";
inline constexpr wchar_t kDropTitle[] = L"ドロップ - KelmoCM";
inline constexpr wchar_t kEntryChangeTitle[] = L"項目の変更 - KelmoCM";

struct SeenDialog {
  std::wstring title;
  std::wstring text;   // a message box's text, or the first static text of a dialog
  bool yesNo = false;  // Yes and No buttons, no OK and no Cancel
  bool okOnly = false;
  bool topmost = false;  // WS_EX_TOPMOST, as a system-modal box has
  bool closed = false;   // gone or hidden after its answer, within 10 s
};

using DialogAnswer = std::function<void(HWND dialog)>;

// Types `text` into the dialog's edit line and presses OK.
DialogAnswer TypeAndOk(const std::wstring& text);
// Presses the button `id` (IDOK, IDCANCEL, IDYES, IDNO, ...).
DialogAnswer Press(int id);
// Closes the dialog from its system menu (WM_CLOSE).
DialogAnswer CloseBox();
// Types `path` into the open-file dialog's file name box and presses OK.
DialogAnswer ChooseFile(const std::wstring& path);

class DialogAnswerer {
 public:
  DialogAnswerer(DWORD processId, std::vector<DialogAnswer> answers);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Waits until `count` dialogs have been seen and closed by their answers
  // (bounded by `timeoutMs`); true when they were.
  bool WaitForAnswered(std::size_t count, int timeoutMs = 15000);
  // Stops watching and gives every dialog seen, in order.
  std::vector<SeenDialog> Finish();

 private:
  void Run();
  void Answer(HWND dialog);

  const DWORD processId_;
  std::vector<DialogAnswer> answers_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenDialog> seen_;
  std::vector<HWND> stuck_;  // answered, still up: not recorded again
  std::atomic<std::size_t> answered_{0};
  std::thread thread_;
};

struct StartedProcess;
// Waits up to 30 s for `process` to end while every box it shows is
// dismissed; gives the boxes. Fails the test, and ends the process, when it
// does not end.
std::vector<SeenDialog> DismissBoxesUntilExit(const StartedProcess& process);

// The dialog's edit line: the first child of class Edit, at any depth.
HWND FindEdit(HWND dialog);

}  // namespace kelmo::testing_support
