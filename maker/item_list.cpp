#include "maker/item_list.h"

namespace kelmo {
namespace {

void DeleteSelected(ListStore& list, int sel) {
  if (sel < 0 || sel >= list.Count()) return;
  list.Remove(sel);
  const int count = list.Count();
  if (count == 0) {
    list.SetSelection(-1);
  } else if (sel < count) {
    list.SetSelection(sel);
  } else {
    list.SetSelection(count - 1);
  }
}

// Moves entry `from` to index `to` (an adjacent, valid index) by removing and
// re-inserting its text, then selects it.
void MoveEntry(ListStore& list, int from, int to) {
  const std::wstring text = list.Text(from);
  list.Remove(from);
  list.Insert(to, text);
  list.SetSelection(to);
}

}  // namespace

void ApplyListButton(ListStore& list, int buttonIndex,
                     const std::function<std::wstring()>& composeEntry,
                     const std::function<void()>& clearProgramText) {
  if (buttonIndex < static_cast<int>(ListButton::Add) ||
      buttonIndex > static_cast<int>(ListButton::Clear)) {
    return;
  }
  const int sel = list.Selection();
  switch (static_cast<ListButton>(buttonIndex)) {
    case ListButton::Add: {
      const std::wstring entry = composeEntry();
      if (entry.empty()) return;
      list.Add(entry);
      clearProgramText();
      return;
    }
    case ListButton::Delete:
      DeleteSelected(list, sel);
      return;
    case ListButton::Up:
      if (sel <= 0 || sel >= list.Count()) return;
      MoveEntry(list, sel, sel - 1);
      return;
    case ListButton::Down:
      if (sel < 0 || sel >= list.Count() - 1) return;
      MoveEntry(list, sel, sel + 1);
      return;
    case ListButton::Clear:
      ClearList(list);
      return;
  }
}

void ClearList(ListStore& list) {
  for (int i = list.Count() - 1; i >= 0; --i) list.Remove(i);
}

}  // namespace kelmo
