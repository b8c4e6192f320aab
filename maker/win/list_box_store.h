// The item list's rules (maker/item_list.h) applied to a real list box:
// a ListStore over a single-selection, unsorted Win32 list box. Win32 only.
#pragma once

#include <windows.h>

#include <string>

#include "maker/item_list.h"

namespace kelmo {

// Does not own the list box. Every operation the list box refuses (LB_ERR,
// LB_ERRSPACE) throws kelmo::Failure, so the handler that drives it reports
// the failure instead of carrying on with a list it did not change.
class ListBoxStore : public ListStore {
 public:
  explicit ListBoxStore(HWND listBox) : listBox_(listBox) {}

  int Count() const override;
  std::wstring Text(int i) const override;
  void Add(const std::wstring& text) override;
  void Insert(int i, const std::wstring& text) override;
  void Remove(int i) override;
  int Selection() const override;
  void SetSelection(int i) override;

 private:
  HWND listBox_;
};

}  // namespace kelmo
