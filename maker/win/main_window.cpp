#include "maker/win/main_window.h"

#include <commctrl.h>

#include "maker/maker_identity.h"
#include "maker/win/browse_and_make.h"
#include "maker/win/dropped_files.h"
#include "maker/win/entry_menu.h"
#include "maker/win/item_handlers.h"
#include "maker/window_layout.h"

namespace kelmo {

namespace {

// Fixed single border: a caption with the system menu and a minimize box,
// no sizing frame and no maximize box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Control ids are the tab index plus this base; "終了(&X)" is IDCANCEL so
// that the dialog manager presses it for Esc. No control has IDOK: Enter
// outside a focused push button reaches no handler.
constexpr int kControlIdBase = 1000;

int ControlId(const ControlRow& row, std::size_t tabIndex) {
  if (row.name == L"cmdMain") return IDCANCEL;
  return kControlIdBase + static_cast<int>(tabIndex);
}

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

// Window class and styles of one control. WS_GROUP starts every dialog
// group: each frame, the first option of each frame, and every control
// after the options, so that the arrow keys cycle within one option group
// and an auto radio button clears only its own group's buttons.
ControlClass ClassOf(const ControlRow& row, bool firstInFrame) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (row.kind) {
    case ControlKind::Frame:
      return {L"Button", child | WS_GROUP | BS_GROUPBOX, 0};
    case ControlKind::Option:
      return {L"Button", child | BS_AUTORADIOBUTTON | (firstInFrame ? WS_GROUP : 0u), 0};
    case ControlKind::Command:
      return {L"Button", child | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Text:
      return {L"Edit", child | WS_GROUP | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::List:
      return {L"ListBox",
              child | WS_GROUP | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {L"Static", child | WS_GROUP | SS_LEFT, 0};
  }
  return {L"Static", child, 0};
}

void Check(HWND option) { SendMessageW(option, BM_SETCHECK, BST_CHECKED, 0); }

}  // namespace

MainWindow::~MainWindow() {
  window_.reset();
  if (registered_) UnregisterClassW(kMakerWindowClass, instance_);
}

bool MainWindow::Create(HINSTANCE instance) {
  // Loads comctl32 so that the manifest's common-controls version 6 serves
  // the Button, Edit and ListBox classes.
  INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);

  // A dialog class of our own: DefDlgProc needs DLGWINDOWEXTRA bytes.
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));  // shared: not ours to free
  smallIcon_.reset(
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0)));
  windowClass.hIconSm = smallIcon_.get();
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMakerWindowClass;
  // Fails harmlessly when another MainWindow of this process registered it.
  instance_ = instance;
  registered_ = RegisterClassExW(&windowClass) != 0;

  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  const PixelRect client = ClientPixelRect(dpiX, dpiY);
  RECT frame = {0, 0, client.width, client.height};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  if (CreateWindowExW(0, kMakerWindowClass, kMakerWindowCaption, kWindowStyle, x, y, width, height,
                      nullptr, nullptr, instance, this) == nullptr) {
    return false;
  }
  font_.reset(CreateFontW(MakerFontHeight(dpiY), 0, 0, 0, kMakerFontWeight, FALSE, FALSE, FALSE,
                          kMakerFontCharset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kMakerFontFace));
  CreateControls(instance, dpiX, dpiY);

  // The initial state: the standard launcher with both option groups off,
  // keeping "前(&B)" and "標準(&D)" selected for when kelmoPro is chosen.
  Check(form_.optKelmoSet()[0]);
  Check(form_.optTimingSet()[0]);
  Check(form_.optSizeSet()[0]);
  form_.SetOptionGroupsEnabled(false);
  // Files dropped on a control that does not take them reach this window.
  DragAcceptFiles(Handle(), TRUE);
  return true;
}

void MainWindow::CreateControls(HINSTANCE instance, int dpiX, int dpiY) {
  const auto& table = MakerControls();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ControlRow& row = table[i];
    const bool firstInFrame = row.frame >= 0 && static_cast<std::size_t>(row.frame) + 1 == i;
    // Option buttons get no WS_TABSTOP here: a radio button takes it when it
    // is checked and drops it when cleared, so Tab enters each option group
    // at its selected button.
    const ControlClass kind = ClassOf(row, firstInFrame);
    const PixelRect rect = ControlPixelRect(i, dpiX, dpiY);
    // Creation order is tab order: the dialog manager walks the children in
    // the order they were created.
    HWND control = CreateWindowExW(
        kind.exStyle, kind.className, std::wstring(row.caption).c_str(), kind.style, rect.left,
        rect.top, rect.width, rect.height, Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row, i))), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    form_.SetControl(row, control);
  }
  // The text box has no length limit of its own (0 = the largest the control takes).
  SendMessageW(form_.txtCmd(), EM_SETLIMITTEXT, 0, 0);
}

void MainWindow::Show(int showCommand) {
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
  // Through the dialog manager, so that it records the focus it restores
  // when the window is activated again.
  SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(form_.optKelmoSet()[0]), TRUE);
}

void MainWindow::OnClicked(int tabIndex) {
  const auto& table = MakerControls();
  if (tabIndex < 0 || static_cast<std::size_t>(tabIndex) >= table.size()) return;
  const ControlRow& row = table[static_cast<std::size_t>(tabIndex)];
  switch (row.group) {
    case ControlGroup::KelmoSet:
      optKelmoSet_Click(form_, row.index);
      break;
    case ControlGroup::ListButtons:
      cmdList_Click(form_, row.index);
      break;
    case ControlGroup::Cmd:
      cmdCmd_Click(form_, row.index);
      break;
    default:
      break;  // the timing and size options have no handler
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      if (HIWORD(wParam) != BN_CLICKED) break;
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) {
        // cmdMain_Click: "終了(&X)" unloads the window without asking.
        DestroyWindow(Handle());
      } else {
        OnClicked(id - kControlIdBase);
      }
      return 0;
    }
    case WM_CLOSE:
      // The close box and Alt+F4 unload the window like "終了(&X)".
      DestroyWindow(Handle());
      return 0;
    case WM_DROPFILES:
      Form_DropFiles(form_, UniqueDrop(reinterpret_cast<HDROP>(wParam)));
      return 0;
    case WM_CONTEXTMENU:  // a right click, Shift+F10 or the menu key (lParam -1)
      if (reinterpret_cast<HWND>(wParam) != form_.lstCmd()) break;
      lstCmd_ContextMenu(Handle(), form_.lstCmd(), lParam, form_.Launcher());
      return 0;
    case WM_DESTROY:
      // Form_Unload: unloading the window ends the program; nothing is saved.
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefDlgProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window =
        static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->window_.reset(hwnd);
    window->form_.SetWindow(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefDlgProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    // Destroyed: nothing is left to free.
    window->window_.release();
    window->form_.SetWindow(nullptr);
    return DefDlgProcW(hwnd, message, wParam, lParam);
  }
  return window->HandleMessage(message, wParam, lParam);
}

int RunMessageLoop(HWND window) {
  MSG message;
  while (true) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace kelmo
