// Driving a running kelmoCM.exe from a test, through Win32 messages only:
// controls are found by class and caption, never by numeric id.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/wine/dialog_answerer.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo::testing_support {

inline constexpr wchar_t kMakerTitle[] = L"Kelmo Command line Maker";

// A kelmoCM.exe started for one test; ended by force when the object goes
// and the program is still running.
class MakerProcess {
 public:
  // Starts kelmoCM.exe from `folder` (the build's bin folder unless given)
  // with the command line `arguments` and waits (at most `timeoutMs`) for its
  // main window: visible, unowned, titled kMakerTitle. On time-out the test
  // has failed and window() is null.
  explicit MakerProcess(const std::wstring& folder = BinDir(), const std::wstring& arguments = L"",
                        int timeoutMs = 15000);
  ~MakerProcess();
  MakerProcess(const MakerProcess&) = delete;
  MakerProcess& operator=(const MakerProcess&) = delete;

  HWND window() const { return window_; }
  DWORD processId() const { return started_.id; }
  DWORD threadId() const;
  const StartedProcess& process() const { return started_; }
  // Exit code once the program has ended, nullopt on time-out.
  std::optional<DWORD> WaitForExit(int timeoutMs = 15000) const;

  // A child control of the main window; null when there is none.
  HWND Find(const std::wstring& className, const std::wstring& caption) const;
  // Button by caption ("追加(&E)"); fails the test when missing.
  HWND Button(const std::wstring& caption) const;
  HWND Edit() const;  // txtCmd
  HWND List() const;  // lstCmd
  // The main window's children in creation (= tab) order.
  std::vector<HWND> Children() const;

  // Clicks the timing and size options given by caption (none when empty),
  // types `program` into txtCmd and presses "追加(&E)"; gives the list then.
  std::vector<std::wstring> Add(const std::wstring& program, const std::wstring& timing = L"",
                                const std::wstring& size = L"") const;
  // Waits until the list holds `count` entries (an opened shortcut fills it
  // after the window shows); false on time-out.
  bool WaitForListSize(std::size_t count) const;
  // Presses the button `caption`; its handler runs to its end while the
  // boxes it opens get `answers` in turn. Gives the boxes seen.
  std::vector<SeenDialog> ClickAnswering(const std::wstring& caption,
                                         std::vector<DialogAnswer> answers) const;

  // Makes the maker's window the active foreground window (windows of other
  // programs on the same desktop can take activation, and an inactive
  // window's thread has no focus); false when that did not happen in time.
  // The constructor does this once.
  bool BringToFront(int timeoutMs = 5000) const;

  // The control that has the keyboard focus in the maker's thread.
  HWND Focus() const;
  bool WaitForFocus(HWND control, int timeoutMs = 5000) const;

  // Keys posted to the focused control, as the keyboard would deliver them;
  // the maker's IsDialogMessage sees them like typed keys.
  void PostKey(UINT virtualKey) const;
  void PostAltKey(wchar_t character) const;

 private:
  HWND ChildOfClass(const wchar_t* className, const char* what) const;

  StartedProcess started_;
  HWND window_ = nullptr;
};

// Copies of programs of the build's bin folder (none for a scratch folder) in
// a folder of their own: a maker started from there names the launchers there
// in the shortcuts it makes. The folder is made here and removed, with every
// file in it, when the object goes (ProbeDir leaves folders behind, and a
// later process of the same id would find them).
class ProgramFolder {
 public:
  // By default a fresh folder at the root of C: (C:\kr<pid>-<n>), so that a
  // group's target stays short wherever the build tree lives.
  explicit ProgramFolder(const std::vector<std::wstring>& programs, std::wstring path = L"");
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// `text` in double quotes: one argument on a command line.
std::wstring Quoted(const std::wstring& text);

// Finds the visible, unowned top-level window titled `title` of a process.
HWND FindMainWindow(DWORD processId, const std::wstring& title);

// A click whose handler runs to its end before this returns. Fails the test
// when the handler does not return within `timeoutMs` (for example because
// it opened a box): use PostClick for clicks that open dialogs or boxes.
void Click(HWND button, int timeoutMs = 10000);
void PostClick(HWND button);

bool IsChecked(HWND button);
// A control's current text through WM_GETTEXT. Use this, not GetWindowText,
// for the text box: across processes GetWindowText gives the caption the
// control was created with, so typed or set text would read as empty.
std::wstring ControlText(HWND control);
void SetText(HWND control, const std::wstring& text);  // WM_SETTEXT

std::vector<std::wstring> ListItems(HWND listBox);
int ListSelection(HWND listBox);  // -1 = none
void SelectListItem(HWND listBox, int index);

// Points the user's desktop somewhere else for one test (both registry
// values the shell reads it from), and back when it goes. The real folder is
// left alone: Wine's desktop process keeps it open.
class DesktopRedirected {
 public:
  explicit DesktopRedirected(const std::wstring& folder);
  ~DesktopRedirected();
  DesktopRedirected(const DesktopRedirected&) = delete;
  DesktopRedirected& operator=(const DesktopRedirected&) = delete;

 private:
  struct Value {
    const wchar_t* key;
    bool saved = false;
    DWORD type = REG_SZ;
    std::wstring old;
  };
  Value values_[2] = {
      {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
       false,
       REG_SZ,
       {}},
      {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
       false,
       REG_SZ,
       {}}};
};

}  // namespace kelmo::testing_support
