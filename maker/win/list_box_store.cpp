#include "maker/win/list_box_store.h"

#include "common/failure.h"

namespace kelmo {

namespace {

[[noreturn]] void Refused(const wchar_t* operation, LRESULT result) {
  if (result == LB_ERRSPACE) throw Failure(kOutOfMemory, L"メモリが不足しています。");
  throw Failure(kUnexpectedFailure, std::wstring(L"リストの操作に失敗しました: ") + operation);
}

LRESULT Checked(const wchar_t* operation, LRESULT result) {
  if (result == LB_ERR || result == LB_ERRSPACE) Refused(operation, result);
  return result;
}

}  // namespace

int ListBoxStore::Count() const {
  return static_cast<int>(Checked(L"LB_GETCOUNT", SendMessageW(listBox_, LB_GETCOUNT, 0, 0)));
}

std::wstring ListBoxStore::Text(int i) const {
  const LRESULT length =
      Checked(L"LB_GETTEXTLEN", SendMessageW(listBox_, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Checked(L"LB_GETTEXT", SendMessageW(listBox_, LB_GETTEXT, static_cast<WPARAM>(i),
                                          reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

void ListBoxStore::Add(const std::wstring& text) {
  Checked(L"LB_ADDSTRING",
          SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBoxStore::Insert(int i, const std::wstring& text) {
  // LB_INSERTSTRING takes -1 as "at the end"; the contract here is an index
  // in 0..Count(), so anything else is refused before it reaches the box.
  if (i < 0 || i > Count()) Refused(L"LB_INSERTSTRING", LB_ERR);
  Checked(L"LB_INSERTSTRING", SendMessageW(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(i),
                                           reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBoxStore::Remove(int i) {
  Checked(L"LB_DELETESTRING", SendMessageW(listBox_, LB_DELETESTRING, static_cast<WPARAM>(i), 0));
}

int ListBoxStore::Selection() const {
  // LB_GETCURSEL gives LB_ERR (-1) for "nothing selected", which is no failure.
  return static_cast<int>(SendMessageW(listBox_, LB_GETCURSEL, 0, 0));
}

void ListBoxStore::SetSelection(int i) {
  // LB_SETCURSEL refuses an index past the end and keeps the old selection;
  // the store's contract is "no selection" then, so such an index clears it.
  // Its LB_ERR result (also given for -1, which is no error) is not examined.
  if (i < -1 || i >= Count()) i = -1;
  SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

}  // namespace kelmo
