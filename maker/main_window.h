// frmMain, the maker's one window: a fixed-size dialog built from the
// control table in maker/window_layout.h, with the click handlers of its
// indexed control groups. Win32 only.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "maker/shortcut_open_win32.h"

namespace kelmo {

inline constexpr wchar_t kMakerWindowClass[] = L"KelmoCMForm";

class MainWindow final : public OpenWindowAccess {
 public:
  MainWindow() = default;
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window with all its controls in their initial state, centred
  // on the screen and not yet shown; false when the window cannot be made.
  // The window is a dialog to the dialog manager (DefDlgProc), so Tab, the
  // arrow keys, access keys and Esc work through IsDialogMessage.
  bool Create(HINSTANCE instance);
  // Shows the window and puts the focus on "Kelmo(&S)".
  void Show(int showCommand);

  // MakerWindowAccess
  HWND Handle() const override { return hwnd_; }
  std::wstring ProgramText() const override;
  void SetProgramText(const std::wstring& text) override;
  std::vector<std::wstring> Entries() const override;
  LauncherChoice Launcher() const override;
  std::wstring OfferedShortcutName() const override { return openedName_; }
  // OpenWindowAccess
  void ShowGroup(const OpenedGroup& group) override;

  // Opens the first of the program's arguments as a shortcut (a shortcut
  // dropped on kelmoCM.exe or opened with it), after a short note when there
  // are more; without arguments nothing happens. Catches every failure and
  // reports it as "Form_Load".
  void OpenCommandLineShortcut();

  // Handlers of the indexed groups; each catches every failure, shows the
  // error report with its place name and returns.
  void optKelmoSet_Click(int index);
  void cmdList_Click(int index);
  void cmdCmd_Click(int index);
  // Unloads the window without asking; Form_Unload then ends the program.
  void cmdMain_Click();

  // The entry for the program text and the options, or the empty text when
  // there is nothing to add or composing failed (reported as
  // "frmMain!GetCmdLine").
  std::wstring GetCmdLine();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(HINSTANCE instance, int dpiX, int dpiY);
  void OnClicked(int tabIndex);
  // Timing and size options, then their two frames, in that order.
  void SetOptionGroupsEnabled(bool enabled);
  void Form_Unload();
  // Files dropped on the window or any of its controls; catches every
  // failure and reports it as "Form_OLEDragDrop".
  void Form_OLEDragDrop(HDROP drop);

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::array<HWND, 2> optKelmoSet_{};
  std::array<HWND, 4> optTimingSet_{};
  std::array<HWND, 6> optSizeSet_{};
  std::array<HWND, 2> cmdCmd_{};
  std::array<HWND, 5> cmdList_{};
  HWND fraTimingSet_ = nullptr;
  HWND fraSizeSet_ = nullptr;
  HWND txtCmd_ = nullptr;
  HWND lstCmd_ = nullptr;
  std::wstring openedName_;  // the last opened shortcut's name
};

// Runs the program's message loop until the window has been unloaded;
// dialog keys go through IsDialogMessage. Returns the exit code.
int RunMessageLoop(HWND window);

}  // namespace kelmo
