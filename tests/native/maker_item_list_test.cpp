#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/failure.h"
#include "maker/item_list.h"

namespace kelmo {
namespace {

using Items = std::vector<std::wstring>;

TEST(ApplyListButtonTest, EditsListAndSelection) {
  const struct {
    Items before;
    int sel;
    int button;
    const wchar_t* composed;  // nullptr: composing fails
    Items after;
    int selAfter;
    int textCleared;
  } rows[] = {
      {{}, -1, 0, L"/b:a", {L"/b:a"}, -1, 1},
      {{L"x", L"y"}, 0, 0, L"\" a \"", {L"x", L"y", L"\" a \""}, 0, 1},
      {{L"x"}, 0, 0, L"", {L"x"}, 0, 0},  // nothing composed: text box kept
      {{L"a", L"b", L"c"}, -1, 1, L"", {L"a", L"b", L"c"}, -1, 0},
      {{L"a", L"b", L"c"}, 1, 1, L"", {L"a", L"c"}, 1, 0},
      {{L"a", L"b", L"c"}, 0, 1, L"", {L"b", L"c"}, 0, 0},
      {{L"a", L"b", L"c"}, 2, 1, L"", {L"a", L"b"}, 1, 0},
      {{L"a"}, 0, 1, L"", {}, -1, 0},
      {{L"a", L"b", L"c"}, 0, 2, L"", {L"a", L"b", L"c"}, 0, 0},
      {{L"a", L"b", L"c"}, -1, 2, L"", {L"a", L"b", L"c"}, -1, 0},
      {{L"a", L"b", L" 帳 /x "}, 2, 2, L"", {L"a", L" 帳 /x ", L"b"}, 1, 0},
      {{L"a", L"b", L"c"}, 2, 3, L"", {L"a", L"b", L"c"}, 2, 0},
      {{L"a", L"b", L"c"}, -1, 3, L"", {L"a", L"b", L"c"}, -1, 0},
      {{L"a"}, 0, 3, L"", {L"a"}, 0, 0},
      {{L" a ", L"b", L"c"}, 0, 3, L"", {L"b", L" a ", L"c"}, 1, 0},
      {{L"a", L"b"}, 1, 4, L"", {}, -1, 0},
      {{}, -1, 4, L"", {}, -1, 0},
      {{L"a"}, 0, -1, L"x", {L"a"}, 0, 0},
      {{L"a"}, 0, 5, L"x", {L"a"}, 0, 0},
      // A failure to compose passes through and adds nothing.
      {{L"a"}, 0, 0, nullptr, {L"a"}, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "button " << r.button << " sel " << r.sel);
    ItemListModel list(r.before, r.sel);
    int composeCalls = 0, cleared = 0;
    const auto compose = [&] {
      ++composeCalls;
      if (!r.composed) throw Failure(5, L"x");
      return std::wstring(r.composed);
    };
    const auto press = [&] { ApplyListButton(list, r.button, compose, [&] { ++cleared; }); };
    if (r.composed) {
      press();
    } else {
      EXPECT_THROW(press(), Failure);
    }
    EXPECT_EQ(list.Items(), r.after);
    EXPECT_EQ(list.Selection(), r.selAfter);
    EXPECT_EQ(cleared, r.textCleared);
    EXPECT_EQ(composeCalls, r.button == 0 ? 1 : 0);
  }
}

// Logs every change so the order of removals can be checked.
class RecordingStore : public ItemListModel {
 public:
  using ItemListModel::ItemListModel;
  void Remove(int i) override {
    log.push_back(i);
    ItemListModel::Remove(i);
  }
  std::vector<int> log;
};

TEST(ClearListTest, RemovesFromLastIndexDown) {
  RecordingStore list({L"a", L"b", L"c"}, 1);
  ClearList(list);
  EXPECT_EQ(list.log, (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selection(), -1);
}

// The model must track the selected entry the way a list box does, or the
// algorithms could pass here and fail on the real control.
TEST(ItemListModelTest, SelectionFollowsSelectedEntryLikeAListBox) {
  ItemListModel list({L"a", L"b", L"c"}, 1);
  list.Insert(1, L"n");  // at the selected index: "b" moves to 2
  EXPECT_EQ(list.Selection(), 2);
  list.Insert(3, L"m");  // after it
  EXPECT_EQ(list.Selection(), 2);
  list.Remove(0);
  EXPECT_EQ(list.Selection(), 1);
  EXPECT_EQ(list.Text(1), L"b");
  list.Remove(1);
  EXPECT_EQ(list.Selection(), -1);
  list.SetSelection(list.Count());
  EXPECT_EQ(list.Selection(), -1);
  EXPECT_THROW(list.Remove(list.Count()), std::out_of_range);
  EXPECT_THROW(list.Insert(list.Count() + 1, L"z"), std::out_of_range);
  EXPECT_THROW(list.Text(-1), std::out_of_range);
}

}  // namespace
}  // namespace kelmo
