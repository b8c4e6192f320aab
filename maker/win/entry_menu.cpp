#include "maker/win/entry_menu.h"

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "common/failure.h"
#include "common/text_util.h"
#include "common/win/error_msg.h"
#include "maker/entry_options.h"
#include "maker/maker_identity.h"
#include "maker/shortcut_open.h"
#include "maker/win/list_box_store.h"
#include "maker/win/maker_boxes.h"
#include "maker/win/name_prompt.h"

namespace kelmo {

namespace {

constexpr UINT kGraceCommand = 1;
constexpr UINT kTreeCommand = 2;
constexpr UINT kPauseCommand = 3;
constexpr UINT kReadyCommand = 4;
constexpr UINT kByNameCommand = 5;
constexpr UINT kHiddenCommand = 6;

constexpr wchar_t kGraceItem[] = L"終了までの猶予(&S)...";
constexpr wchar_t kTreeItem[] = L"起動したプログラムも含める(&G)";
constexpr wchar_t kPauseItem[] = L"次の起動までの待ち時間(&P)...";
constexpr wchar_t kReadyItem[] = L"準備ができるまで待つ(&R)";
constexpr wchar_t kByNameItem[] = L"起動せず、この名前のプログラムを追跡(&N)";
constexpr wchar_t kHiddenItem[] = L"ウィンドウを表示しない(&H)";

// What the input box of a seconds item asks.
struct SecondsQuestion {
  const wchar_t* title;
  const wchar_t* prompt;
};
constexpr SecondsQuestion kGraceQuestion = {
    L"終了までの猶予",
    L"終了を求めてから強制終了するまでの秒数を入力してください。\r\n"
    L"0 で猶予なし、最長 3600 秒です。"};
constexpr SecondsQuestion kPauseQuestion = {
    L"次の起動までの待ち時間",
    L"このプログラムを起動してから次のプログラムを起動するまでの秒数を入力してください。\r\n"
    L"0 で待ち時間なし、最長 3600 秒です。"};

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// The entry the menu is for, and where the menu opens; nullopt for none.
std::optional<int> EntryFor(HWND listBox, LPARAM where, POINT& menuAt) {
  // Both coordinates -1: on 64-bit Windows that may come as 0xFFFFFFFF.
  if (static_cast<DWORD>(where) == 0xFFFFFFFF) {
    const auto selected = static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0));
    if (selected < 0) return std::nullopt;
    RECT item = {};
    SendMessageW(listBox, LB_GETITEMRECT, static_cast<WPARAM>(selected),
                 reinterpret_cast<LPARAM>(&item));
    menuAt = {item.left, item.bottom};
    ClientToScreen(listBox, &menuAt);
    return selected;
  }
  menuAt = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  POINT client = menuAt;
  ScreenToClient(listBox, &client);
  const LRESULT hit = SendMessageW(listBox, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) != 0) return std::nullopt;  // below the last entry
  const int index = LOWORD(hit);
  SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return index;
}

// The entry after the user's choice; the entry itself when nothing changes,
// or when the change cannot be written, which the user is told.
std::wstring ChooseChange(HWND owner, const std::wstring& entry, const EntryOptions& options,
                          POINT menuAt) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return entry;
  const auto add = [&menu](UINT command, const wchar_t* text, bool applies, bool checked = false) {
    AppendMenuW(menu.get(), MF_STRING | (checked ? MF_CHECKED : 0) | (applies ? 0 : MF_GRAYED),
                command, text);
  };
  add(kGraceCommand, kGraceItem, options.graceApplies);
  add(kPauseCommand, kPauseItem, options.pauseApplies);
  add(kTreeCommand, kTreeItem, options.treeApplies, options.wholeTree);
  add(kReadyCommand, kReadyItem, options.readyApplies, options.untilReady);
  add(kByNameCommand, kByNameItem, options.byNameApplies, options.byName);
  add(kHiddenCommand, kHiddenItem, true, options.hidden);
  const auto chosen =
      static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       menuAt.x, menuAt.y, 0, owner, nullptr));
  std::optional<std::wstring> changed;
  if (chosen == kTreeCommand) {
    changed = WithWholeTree(entry, !options.wholeTree);
  } else if (chosen == kReadyCommand) {
    changed = WithUntilReady(entry, !options.untilReady);
  } else if (chosen == kByNameCommand) {
    changed = WithByName(entry, !options.byName);
  } else if (chosen == kHiddenCommand) {
    changed = WithHidden(entry, !options.hidden);
  } else if (chosen == kGraceCommand || chosen == kPauseCommand) {
    const SecondsQuestion& question = chosen == kGraceCommand ? kGraceQuestion : kPauseQuestion;
    const std::wstring typed =
        InputBox(owner, question.prompt, question.title, DecimalText(options.seconds));
    const std::optional<int> seconds = ParseSeconds(typed);
    if (!seconds) {
      if (!typed.empty()) MessageBeep(MB_ICONWARNING);  // not a number: nothing changes
      return entry;
    }
    changed = WithSeconds(entry, *seconds);
  } else {
    return entry;
  }
  if (!changed) {
    ShowMessageText(owner, OpenMessageText(OpenMessage::EntryNotRewritten, entry));
    return entry;
  }
  return *changed;
}

}  // namespace

void lstCmd_ContextMenu(HWND owner, HWND listBox, LPARAM where, LauncherChoice launcher) {
  try {
    if (launcher != LauncherChoice::KelmoPro) return;
    POINT menuAt = {};
    const std::optional<int> index = EntryFor(listBox, where, menuAt);
    if (!index) return;
    ListBoxStore list(listBox);
    const std::wstring entry = list.Text(*index);
    const std::optional<EntryOptions> options = ReadEntryOptions(entry);
    if (!options) return;
    const std::wstring changed = ChooseChange(owner, entry, *options, menuAt);
    if (changed == entry) return;
    list.Remove(*index);
    list.Insert(*index, changed);
    list.SetSelection(*index);
  } catch (...) {
    ErrorMsg(kMakerProgram, L"lstCmd_ContextMenu", CurrentFailure(), owner);
  }
}

}  // namespace kelmo
