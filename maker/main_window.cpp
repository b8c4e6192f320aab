#include "maker/main_window.h"

#include <commctrl.h>

#include <string_view>

#include "common/error_msg.h"
#include "common/failure.h"
#include "common/win_text.h"
#include "maker/entry_menu.h"
#include "maker/item_composer.h"
#include "maker/item_list.h"
#include "maker/list_box_store.h"
#include "maker/maker_identity.h"
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

// Reports the failure being handled under `place` in a box owned by the
// maker window `owner`; call it only inside a catch block. One function
// serves every handler, so each handler has a single catch (...).
void ReportCaughtFailure(HWND owner, std::wstring_view place) {
  ErrorMsg(kMakerProgram, place, CurrentFailure(), owner);
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
bool IsChecked(HWND option) { return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
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
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMakerWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered

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
  font_ = CreateFontW(MakerFontHeight(dpiY), 0, 0, 0, kMakerFontWeight, FALSE, FALSE, FALSE,
                      kMakerFontCharset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, kMakerFontFace);
  CreateControls(instance, dpiX, dpiY);

  // The initial state: the standard launcher with both option groups off,
  // keeping "前(&B)" and "標準(&D)" selected for when kelmoPro is chosen.
  Check(optKelmoSet_[0]);
  Check(optTimingSet_[0]);
  Check(optSizeSet_[0]);
  SetOptionGroupsEnabled(false);
  // Files dropped on a control that does not take them reach this window.
  DragAcceptFiles(hwnd_, TRUE);
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
    HWND control = CreateWindowExW(kind.exStyle, kind.className, std::wstring(row.caption).c_str(),
                                   kind.style, rect.left, rect.top, rect.width, rect.height, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row, i))),
                                   instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    const auto index = static_cast<std::size_t>(row.index);
    switch (row.group) {
      case ControlGroup::KelmoSet:
        optKelmoSet_[index] = control;
        break;
      case ControlGroup::TimingSet:
        optTimingSet_[index] = control;
        break;
      case ControlGroup::SizeSet:
        optSizeSet_[index] = control;
        break;
      case ControlGroup::Cmd:
        cmdCmd_[index] = control;
        break;
      case ControlGroup::ListButtons:
        cmdList_[index] = control;
        break;
      case ControlGroup::None:
        break;
    }
    if (row.name == L"fraTimingSet") fraTimingSet_ = control;
    if (row.name == L"fraSizeSet") fraSizeSet_ = control;
    if (row.name == L"txtCmd") txtCmd_ = control;
    if (row.name == L"lstCmd") lstCmd_ = control;
  }
  // The text box has no length limit of its own (0 = the largest the control takes).
  SendMessageW(txtCmd_, EM_SETLIMITTEXT, 0, 0);
}

void MainWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  // Through the dialog manager, so that it records the focus it restores
  // when the window is activated again.
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(optKelmoSet_[0]), TRUE);
}

std::wstring MainWindow::ProgramText() const {
  const int length = GetWindowTextLengthW(txtCmd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(txtCmd_, text.data(), length + 1)));
  return text;
}

void MainWindow::SetProgramText(const std::wstring& text) { SetWindowTextW(txtCmd_, text.c_str()); }

std::vector<std::wstring> MainWindow::Entries() const {
  const ListBoxStore list(lstCmd_);
  std::vector<std::wstring> entries;
  const int count = list.Count();
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(list.Text(i));
  return entries;
}

LauncherChoice MainWindow::Launcher() const {
  return IsChecked(optKelmoSet_[0]) ? LauncherChoice::Standard : LauncherChoice::KelmoPro;
}

void MainWindow::SetOptionGroupsEnabled(bool enabled) {
  for (HWND option : optTimingSet_) EnableWindow(option, enabled);
  for (HWND option : optSizeSet_) EnableWindow(option, enabled);
  EnableWindow(fraTimingSet_, enabled);
  EnableWindow(fraSizeSet_, enabled);
}

void MainWindow::optKelmoSet_Click(int index) {
  try {
    if (index == static_cast<int>(LauncherChoice::KelmoPro)) {
      ListBoxStore list(lstCmd_);
      ClearList(list);
      SetOptionGroupsEnabled(true);
    } else if (index == static_cast<int>(LauncherChoice::Standard)) {
      SetOptionGroupsEnabled(false);
    }
  } catch (...) {
    ReportCaughtFailure(hwnd_, L"optKelmoSet_Click");
  }
}

void MainWindow::cmdList_Click(int index) {
  try {
    ListBoxStore list(lstCmd_);
    ApplyListButton(
        list, index, [this] { return GetCmdLine(); }, [this] { SetProgramText(L""); });
  } catch (...) {
    ReportCaughtFailure(hwnd_, L"cmdList_Click");
  }
}

void MainWindow::cmdCmd_Click(int index) { kelmo::cmdCmd_Click(*this, index); }

void MainWindow::cmdMain_Click() { DestroyWindow(hwnd_); }

std::wstring MainWindow::GetCmdLine() {
  try {
    ComposerInput input;
    input.launcher = Launcher();
    for (std::size_t i = 0; i < optTimingSet_.size(); ++i)
      input.timing[i] = IsChecked(optTimingSet_[i]);
    for (std::size_t i = 0; i < optSizeSet_.size(); ++i) input.size[i] = IsChecked(optSizeSet_[i]);
    input.programText = ProgramText();
    return ComposeEntry(input);
  } catch (...) {
    ReportCaughtFailure(hwnd_, L"frmMain!GetCmdLine");
    return std::wstring();
  }
}

void MainWindow::Form_Unload() { PostQuitMessage(0); }

void MainWindow::ShowGroup(const OpenedGroup& group) {
  const bool kelmoPro = group.launcher == LauncherChoice::KelmoPro;
  SendMessageW(optKelmoSet_[0], BM_SETCHECK, kelmoPro ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(optKelmoSet_[1], BM_SETCHECK, kelmoPro ? BST_CHECKED : BST_UNCHECKED, 0);
  SetOptionGroupsEnabled(kelmoPro);
  ListBoxStore list(lstCmd_);
  ClearList(list);
  for (const std::wstring& entry : group.entries) list.Add(entry);
  openedName_ = group.name;
}

void MainWindow::OpenCommandLineShortcut() {
  try {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return;
    // arguments[0] is the program itself.
    const std::wstring first = count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    if (count < 2) return;
    Win32OpenPlatform platform(*this);
    if (count > 2) platform.ShowMessage(OpenMessageText(OpenMessage::SeveralFiles, first));
    RunOpen(platform, first);
  } catch (...) {
    ReportCaughtFailure(hwnd_, L"Form_Load");
  }
}

void MainWindow::Form_OLEDragDrop(HDROP drop) {
  try {
    std::vector<std::wstring> files = DroppedFiles(drop);
    // The drop's memory is ours to release; done before any box is shown.
    DragFinish(drop);
    drop = nullptr;
    TakeDroppedFiles(*this, files);
  } catch (...) {
    if (drop != nullptr) DragFinish(drop);
    ReportCaughtFailure(hwnd_, L"Form_OLEDragDrop");
  }
}

void MainWindow::OnClicked(int tabIndex) {
  const auto& table = MakerControls();
  if (tabIndex < 0 || static_cast<std::size_t>(tabIndex) >= table.size()) return;
  const ControlRow& row = table[static_cast<std::size_t>(tabIndex)];
  switch (row.group) {
    case ControlGroup::KelmoSet:
      optKelmoSet_Click(row.index);
      break;
    case ControlGroup::ListButtons:
      cmdList_Click(row.index);
      break;
    case ControlGroup::Cmd:
      cmdCmd_Click(row.index);
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
        cmdMain_Click();
      } else {
        OnClicked(id - kControlIdBase);
      }
      return 0;
    }
    case WM_CLOSE:
      // The close box and Alt+F4 unload the window like "終了(&X)".
      DestroyWindow(hwnd_);
      return 0;
    case WM_DROPFILES:
      Form_OLEDragDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CONTEXTMENU:  // a right click, Shift+F10 or the menu key (lParam -1)
      if (reinterpret_cast<HWND>(wParam) != lstCmd_) break;
      lstCmd_ContextMenu(hwnd_, lstCmd_, lParam, Launcher());
      return 0;
    case WM_DESTROY:
      Form_Unload();
      return 0;
    default:
      break;
  }
  return DefDlgProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window =
        static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefDlgProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
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
