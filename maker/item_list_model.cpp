// ItemListModel, in an object file of its own: the maker window never uses
// it, and its std::out_of_range would bring libstdc++'s stdexcept classes and
// their copy-on-write string (some 80 KB) into kelmoCM.exe.
#include <stdexcept>
#include <utility>

#include "maker/item_list.h"

namespace kelmo {

ItemListModel::ItemListModel(std::vector<std::wstring> items, int selection)
    : items_(std::move(items)) {
  SetSelection(selection);
}

int ItemListModel::Count() const { return static_cast<int>(items_.size()); }

std::wstring ItemListModel::Text(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("ItemListModel::Text");
  return items_[static_cast<std::size_t>(i)];
}

void ItemListModel::Add(const std::wstring& text) { items_.push_back(text); }

void ItemListModel::Insert(int i, const std::wstring& text) {
  if (i < 0 || i > Count()) throw std::out_of_range("ItemListModel::Insert");
  items_.insert(items_.begin() + i, text);
  if (selection_ >= i) ++selection_;
}

void ItemListModel::Remove(int i) {
  if (i < 0 || i >= Count()) throw std::out_of_range("ItemListModel::Remove");
  items_.erase(items_.begin() + i);
  if (selection_ == i) {
    selection_ = -1;
  } else if (selection_ > i) {
    --selection_;
  }
}

int ItemListModel::Selection() const { return selection_; }

void ItemListModel::SetSelection(int i) { selection_ = (i >= 0 && i < Count()) ? i : -1; }

}  // namespace kelmo
