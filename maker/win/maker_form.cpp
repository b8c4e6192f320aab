#include "maker/win/maker_form.h"

#include "maker/win/list_box_store.h"

namespace kelmo {
namespace {

bool IsChecked(HWND option) { return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

std::wstring MakerForm::ProgramText() const {
  const int length = GetWindowTextLengthW(txtCmd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(txtCmd, text.data(), length + 1)));
  return text;
}

void MakerForm::SetProgramText(const std::wstring& text) { SetWindowTextW(txtCmd, text.c_str()); }

std::vector<std::wstring> MakerForm::Entries() const {
  const ListBoxStore list(lstCmd);
  std::vector<std::wstring> entries;
  const int count = list.Count();
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(list.Text(i));
  return entries;
}

LauncherChoice MakerForm::Launcher() const {
  return IsChecked(optKelmoSet[0]) ? LauncherChoice::Standard : LauncherChoice::KelmoPro;
}

ComposerInput MakerForm::ComposerState() const {
  ComposerInput input;
  input.launcher = Launcher();
  for (std::size_t i = 0; i < optTimingSet.size(); ++i)
    input.timing[i] = IsChecked(optTimingSet[i]);
  for (std::size_t i = 0; i < optSizeSet.size(); ++i) input.size[i] = IsChecked(optSizeSet[i]);
  input.programText = ProgramText();
  return input;
}

void MakerForm::SetOptionGroupsEnabled(bool enabled) {
  for (HWND option : optTimingSet) EnableWindow(option, enabled);
  for (HWND option : optSizeSet) EnableWindow(option, enabled);
  EnableWindow(fraTimingSet, enabled);
  EnableWindow(fraSizeSet, enabled);
}

void MakerForm::ShowGroup(const OpenedGroup& opened) {
  const bool kelmoPro = opened.launcher == LauncherChoice::KelmoPro;
  SendMessageW(optKelmoSet[0], BM_SETCHECK, kelmoPro ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(optKelmoSet[1], BM_SETCHECK, kelmoPro ? BST_CHECKED : BST_UNCHECKED, 0);
  SetOptionGroupsEnabled(kelmoPro);
  ListBoxStore list(lstCmd);
  ClearList(list);
  for (const std::wstring& entry : opened.entries) list.Add(entry);
  group.Opened(opened);
}

}  // namespace kelmo
