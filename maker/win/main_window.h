// frmMain, the maker's one window: creates the fixed-size dialog from the
// control table in maker/window_layout.h and routes its messages to the
// handlers. What the handlers work on is the window's MakerForm. Win32 only.
#pragma once

#include <windows.h>

#include "maker/win/maker_form.h"
#include "maker/win/scoped_win32.h"

namespace kelmo {

inline constexpr wchar_t kMakerWindowClass[] = L"KelmoCMForm";

class MainWindow final {
 public:
  MainWindow() = default;
  // Destroys the window if it is still there, then its class and icon.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window with all its controls in their initial state, centred
  // on the screen and not yet shown; false when the window cannot be made.
  // The window is a dialog to the dialog manager (DefDlgProc), so Tab, the
  // arrow keys, access keys and Esc work through IsDialogMessage.
  bool Create(HINSTANCE instance);
  // Shows the window and puts the focus on "Kelmo(&S)".
  void Show(int showCommand);

  HWND Handle() const { return window_.get(); }
  MakerForm& Form() { return form_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The window's one message switch.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(HINSTANCE instance, int dpiX, int dpiY);
  // A click on the control at `tabIndex`, routed to its group's handler.
  void OnClicked(int tabIndex);

  HINSTANCE instance_ = nullptr;
  UniqueIcon smallIcon_;  // the class's; outlives the window
  bool registered_ = false;
  UniqueWindow window_;  // released when the window is destroyed
  UniqueFont font_;      // every control's; outlives the window
  MakerForm form_;
};

// Runs the program's message loop until the window has been unloaded;
// dialog keys go through IsDialogMessage. Returns the exit code.
int RunMessageLoop(HWND window);

}  // namespace kelmo
