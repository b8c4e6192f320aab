#include "maker/win/item_handlers.h"

#include "maker/item_list.h"
#include "maker/win/list_box_store.h"
#include "maker/win/maker_boxes.h"

namespace kelmo {

void optKelmoSet_Click(MakerForm& form, int index) {
  try {
    // Choosing the launcher already chosen changes nothing: it would empty
    // the list again.
    if (index == static_cast<int>(form.Mode())) return;
    if (index == static_cast<int>(LauncherChoice::KelmoPro)) {
      ListBoxStore list(form.lstCmd());
      ClearList(list);
      form.Group().Forget();
      form.SetOptionGroupsEnabled(true);
    } else if (index == static_cast<int>(LauncherChoice::Standard)) {
      form.SetOptionGroupsEnabled(false);
    }
  } catch (...) {
    ReportCaughtFailure(form.Handle(), L"optKelmoSet_Click");
  }
}

void cmdList_Click(MakerForm& form, int index) {
  try {
    ListBoxStore list(form.lstCmd());
    ApplyListButton(
        list, index, [&form] { return GetCmdLine(form); }, [&form] { form.SetProgramText(L""); });
    // A list emptied, at once or entry by entry, is no longer the group.
    if (index == static_cast<int>(ListButton::Clear) ||
        (index == static_cast<int>(ListButton::Delete) && list.Count() == 0)) {
      form.Group().Forget();
    }
  } catch (...) {
    ReportCaughtFailure(form.Handle(), L"cmdList_Click");
  }
}

std::wstring GetCmdLine(MakerForm& form) {
  try {
    return ComposeEntry(form.ComposerState());
  } catch (...) {
    ReportCaughtFailure(form.Handle(), L"frmMain!GetCmdLine");
    return std::wstring();
  }
}

}  // namespace kelmo
