#include "maker/win/name_prompt.h"

#include <cstdint>
#include <vector>

#include "maker/shortcut_make.h"

namespace kelmo {
namespace {

// Control ids inside the box.
constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// Predefined window classes in a dialog template, by atom.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

// An in-memory DLGTEMPLATE with its items, built word by word. The vector's
// storage is suitably aligned for the template; each item starts on a DWORD
// boundary relative to it.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const std::wstring& title, WORD fontPoints,
                 const wchar_t* fontFace) {
    AddDword(style);
    AddDword(0);  // extended style
    itemCountAt_ = words_.size();
    words_.push_back(0);  // item count, raised by AddItem
    AddCoordinates(0, 0, width, height);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    AddText(title);
    words_.push_back(fontPoints);
    AddText(fontFace);
  }

  void AddItem(DWORD style, short x, short y, short width, short height, WORD id, WORD classAtom,
               const std::wstring& text) {
    if (words_.size() % 2 != 0) words_.push_back(0);
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);  // extended style
    AddCoordinates(x, y, width, height);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    AddText(text);
    words_.push_back(0);  // no creation data
    ++words_[itemCountAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void AddCoordinates(short x, short y, short width, short height) {
    for (const short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
  }
  void AddText(const std::wstring& text) {
    for (const wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  std::size_t itemCountAt_ = 0;
};

struct InputBoxState {
  const std::wstring* defaultText;
  std::wstring answer;
};

std::wstring DialogItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, kEditId, state->defaultText->c_str());
      SendDlgItemMessageW(dialog, kEditId, EM_SETSEL, 0, -1);
      return TRUE;  // focus to the edit line, the first control that takes it
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
          try {
            state->answer = DialogItemText(dialog, kEditId);
          } catch (...) {
            state->answer.clear();  // out of memory: taken as no answer
          }
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:  // Cancel, Escape and the close box
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::wstring InputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                      const std::wstring& defaultText) {
  // Dialog units: the prompt at the top left, the buttons on the right, the
  // edit line across the bottom.
  DialogTemplate box(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     240, 86, title, 9, L"MS Shell Dlg");
  box.AddItem(SS_LEFT | SS_NOPREFIX, 7, 7, 170, 52, kPromptId, kStaticAtom, prompt);
  box.AddItem(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 64, 226, 13, kEditId, kEditAtom,
              L"");
  box.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, IDOK, kButtonAtom, L"OK");
  box.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, IDCANCEL, kButtonAtom, L"キャンセル");

  InputBoxState state{&defaultText, {}};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), owner,
                                                 InputBoxProc, reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? state.answer : std::wstring();
}

std::wstring AskShortcutNameBox(HWND owner, const std::wstring& offeredName) {
  const PromptText text = NamePromptText();
  return InputBox(owner, text.prompt, text.title, offeredName);
}

}  // namespace kelmo
