#include "tests/wine/maker_test_support.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/wine/shortcut_file.h"

namespace kelmo::testing_support {

namespace {

struct MainWindowSearch {
  DWORD processId;
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK FindMainWindowProc(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<MainWindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  // Skips the hidden "Default IME" window every GUI process has under Wine.
  if (owner != search->processId || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr)
    return TRUE;
  if (WindowText(hwnd) != *search->title) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindMainWindow(DWORD processId, const std::wstring& title) {
  MainWindowSearch search{processId, &title, nullptr};
  EnumWindows(FindMainWindowProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

MakerProcess::MakerProcess(const std::wstring& folder, const std::wstring& arguments,
                           int timeoutMs) {
  started_ = StartProgram(folder + L"\\kelmoCM.exe", arguments);
  if (!started_.process) return;
  WaitUntil([&] { return (window_ = FindMainWindow(started_.id, kMakerTitle)) != nullptr; },
            timeoutMs);
  if (window_ == nullptr) {
    ADD_FAILURE() << "kelmoCM's window did not appear";
    return;
  }
  EXPECT_TRUE(BringToFront()) << "kelmoCM's window did not become the foreground window";
}

bool MakerProcess::BringToFront(int timeoutMs) const {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window_) return true;
        SetForegroundWindow(window_);
        return false;
      },
      timeoutMs);
}

MakerProcess::~MakerProcess() {
  if (started_.process && WaitForSingleObject(started_.process.get(), 0) == WAIT_TIMEOUT) {
    KillProcess(started_.id);
  }
}

DWORD MakerProcess::threadId() const { return GetWindowThreadProcessId(window_, nullptr); }

std::optional<DWORD> MakerProcess::WaitForExit(int timeoutMs) const {
  return testing_support::WaitForExit(started_, timeoutMs);
}

std::vector<HWND> MakerProcess::Children() const {
  std::vector<HWND> children;
  if (window_ == nullptr) return children;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

HWND MakerProcess::Find(const std::wstring& className, const std::wstring& caption) const {
  for (HWND child : Children()) {
    if (_wcsicmp(ClassName(child).c_str(), className.c_str()) == 0 && WindowText(child) == caption)
      return child;
  }
  return nullptr;
}

HWND MakerProcess::Button(const std::wstring& caption) const {
  HWND button = Find(L"Button", caption);
  if (button == nullptr) ADD_FAILURE() << "no button " << Narrow(caption);
  return button;
}

HWND MakerProcess::ChildOfClass(const wchar_t* className, const char* what) const {
  for (HWND child : Children()) {
    if (_wcsicmp(ClassName(child).c_str(), className) == 0) return child;
  }
  ADD_FAILURE() << "no " << what;
  return nullptr;
}

HWND MakerProcess::Edit() const { return ChildOfClass(L"Edit", "text box"); }
HWND MakerProcess::List() const { return ChildOfClass(L"ListBox", "list box"); }

std::vector<std::wstring> MakerProcess::Add(const std::wstring& program, const std::wstring& timing,
                                            const std::wstring& size) const {
  for (const std::wstring& option : {timing, size}) {
    if (!option.empty()) Click(Button(option));
  }
  SetText(Edit(), program);
  Click(Button(L"追加(&E)"));
  return ListItems(List());
}

bool MakerProcess::WaitForListSize(std::size_t count) const {
  return WaitUntil([&] { return ListItems(List()).size() == count; });
}

std::vector<SeenDialog> MakerProcess::ClickAnswering(const std::wstring& caption,
                                                     std::vector<DialogAnswer> answers) const {
  DialogAnswerer answerer(processId(), std::move(answers));
  Click(Button(caption), 30000);
  return answerer.Finish();
}

HWND MakerProcess::Focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(threadId(), &info)) return nullptr;
  return info.hwndFocus;
}

bool MakerProcess::WaitForFocus(HWND control, int timeoutMs) const {
  return WaitUntil([&] { return Focus() == control; }, timeoutMs);
}

void MakerProcess::PostKey(UINT virtualKey) const {
  HWND target = Focus();
  if (target == nullptr) target = window_;
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1 | (scan << 16)));
  PostMessageW(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

void MakerProcess::PostAltKey(wchar_t character) const {
  HWND target = Focus();
  if (target == nullptr) target = window_;
  // Bit 29: the Alt key is down, as for a typed Alt+<key>.
  PostMessageW(target, WM_SYSCHAR, character, static_cast<LPARAM>(1 | (1u << 29)));
}

void Click(HWND button, int timeoutMs) {
  ASSERT_NE(button, nullptr);
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                                &result),
            0)
      << "the click on " << Narrow(WindowText(button)) << " did not return (a box left open?)";
}

void PostClick(HWND button) {
  ASSERT_NE(button, nullptr);
  PostMessageW(button, BM_CLICK, 0, 0);
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::wstring ControlText(HWND control) {
  const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
  const auto copied =
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
  return text;
}

void SetText(HWND control, const std::wstring& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::wstring> ListItems(HWND listBox) {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    const auto copied = SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    items.push_back(text);
  }
  return items;
}

int ListSelection(HWND listBox) {
  return static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0));
}

void SelectListItem(HWND listBox, int index) {
  SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

ProgramFolder::ProgramFolder(const std::vector<std::wstring>& programs, std::wstring path)
    : path_(std::move(path)) {
  static int counter = 0;
  if (!path_.empty()) {
    EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << Narrow(path_);
  } else {
    // A folder left by a run that crashed may hold the name a reused process
    // id gives: take the next one.
    do {
      path_ =
          L"C:\\kr" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  }
  for (const std::wstring& name : programs) {
    EXPECT_TRUE(CopyFileW((BinDir() + L"\\" + name).c_str(), File(name).c_str(), FALSE))
        << Narrow(name);
  }
}

ProgramFolder::~ProgramFolder() {
  // A program may still be on its way out; its file cannot go before it has.
  for (const std::wstring& name : FilesIn(path_)) {
    WaitUntil(
        [&] { return DeleteFileW(File(name).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
        5000);
  }
  RemoveDirectoryW(path_.c_str());
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

DesktopRedirected::DesktopRedirected(const std::wstring& folder) {
  for (Value& value : values_) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, value.key, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
      continue;
    }
    wchar_t old[MAX_PATH] = {};
    DWORD size = sizeof(old);
    value.saved = RegQueryValueExW(key, L"Desktop", nullptr, &value.type,
                                   reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    value.old = old;
    RegSetValueExW(key, L"Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
}

DesktopRedirected::~DesktopRedirected() {
  for (const Value& value : values_) {
    HKEY key = nullptr;
    if (!value.saved ||
        RegOpenKeyExW(HKEY_CURRENT_USER, value.key, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
      continue;
    }
    RegSetValueExW(key, L"Desktop", 0, value.type, reinterpret_cast<const BYTE*>(value.old.c_str()),
                   static_cast<DWORD>((value.old.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
}

}  // namespace kelmo::testing_support
