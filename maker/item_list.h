// The list-button rules of the maker's item list (add, delete, up, down,
// clear), written once against an abstract list. The maker window drives its
// list box through an adapter; tests and the fuzzer drive ItemListModel.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelmo {

// An ordered list of texts with at most one selected index (-1 = none).
// Implementations follow a single-selection, unsorted Win32 list box; the
// algorithms below keep every index they pass within range.
class ListStore {
 public:
  virtual ~ListStore() = default;
  virtual int Count() const = 0;
  virtual std::wstring Text(int i) const = 0;
  // Appends at the end.
  virtual void Add(const std::wstring& text) = 0;
  // Inserts before index i (0 <= i <= Count()).
  virtual void Insert(int i, const std::wstring& text) = 0;
  virtual void Remove(int i) = 0;
  virtual int Selection() const = 0;
  // -1 clears the selection.
  virtual void SetSelection(int i) = 0;
};

// The list buttons, by their index in the window's button group.
enum class ListButton { Add = 0, Delete = 1, Up = 2, Down = 3, Clear = 4 };

// Runs the list button with index `buttonIndex`; any index outside 0..4 does
// nothing.
// - Add calls `composeEntry`; a non-empty result is appended and then
//   `clearProgramText` is called. An empty result changes nothing. The
//   selection is left as it is.
// - Delete removes the selected entry and selects the entry that took its
//   place, or the new last entry when the last one was removed, or nothing
//   when the list became empty. Nothing happens without a selection.
// - Up / Down move the selected entry one place (remove and re-insert its
//   exact text) and select it again; nothing happens without a selection or
//   at the end of the list it would move past.
// - Clear empties the list (see ClearList).
// Exceptions from the callbacks or the store pass through; the steps already
// done stay done.
void ApplyListButton(ListStore& list, int buttonIndex,
                     const std::function<std::wstring()>& composeEntry,
                     const std::function<void()>& clearProgramText);

// Removes every entry, from the last index down to 0. Used by the clear button
// and when kelmoPro is chosen as the launcher.
void ClearList(ListStore& list);

// A vector-backed ListStore with the selection behaviour of a single-selection
// unsorted Win32 list box:
// - Add and Insert keep the selected entry selected: inserting at or before
//   the selected index moves the selection index up by one (LB_INSERTSTRING).
// - Removing the selected entry leaves no selection; removing an entry before
//   it moves the selection index down by one (LB_DELETESTRING).
// - SetSelection with an index outside -1..Count()-1 leaves no selection.
// Text, Insert and Remove with an index out of range throw std::out_of_range
// (a real list box would return LB_ERR), so a wrong index in the algorithms
// shows up in tests instead of being ignored.
class ItemListModel : public ListStore {
 public:
  ItemListModel() = default;
  explicit ItemListModel(std::vector<std::wstring> items, int selection = -1);

  int Count() const override;
  std::wstring Text(int i) const override;
  void Add(const std::wstring& text) override;
  void Insert(int i, const std::wstring& text) override;
  void Remove(int i) override;
  int Selection() const override;
  void SetSelection(int i) override;

  const std::vector<std::wstring>& Items() const { return items_; }

 private:
  std::vector<std::wstring> items_;
  int selection_ = -1;
};

}  // namespace kelmo
