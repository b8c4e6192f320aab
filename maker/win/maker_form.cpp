#include "maker/win/maker_form.h"

#include "maker/win/list_box_store.h"

namespace kelmo {
namespace {

bool IsChecked(HWND option) { return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

std::wstring MakerForm::ProgramText() const {
  const int length = GetWindowTextLengthW(txtCmd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(txtCmd_, text.data(), length + 1)));
  return text;
}

void MakerForm::SetProgramText(const std::wstring& text) { SetWindowTextW(txtCmd_, text.c_str()); }

std::vector<std::wstring> MakerForm::Entries() const {
  const ListBoxStore list(lstCmd_);
  std::vector<std::wstring> entries;
  const int count = list.Count();
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(list.Text(i));
  return entries;
}

LauncherChoice MakerForm::Launcher() const {
  return IsChecked(optKelmoSet_[0]) ? LauncherChoice::Standard : LauncherChoice::KelmoPro;
}

void MakerForm::AddEntry(const std::wstring& entry) {
  ListBoxStore(lstCmd_).Add(entry);
  SetProgramText(L"");
}

LauncherChoice MakerForm::Mode() const {
  return IsWindowEnabled(fraTimingSet_) ? LauncherChoice::KelmoPro : LauncherChoice::Standard;
}

ComposerInput MakerForm::ComposerState() const {
  ComposerInput input;
  input.launcher = Launcher();
  for (std::size_t i = 0; i < optTimingSet_.size(); ++i)
    input.timing[i] = IsChecked(optTimingSet_[i]);
  for (std::size_t i = 0; i < optSizeSet_.size(); ++i) input.size[i] = IsChecked(optSizeSet_[i]);
  input.programText = ProgramText();
  return input;
}

void MakerForm::SetOptionGroupsEnabled(bool enabled) {
  for (HWND option : optTimingSet_) EnableWindow(option, enabled);
  for (HWND option : optSizeSet_) EnableWindow(option, enabled);
  EnableWindow(fraTimingSet_, enabled);
  EnableWindow(fraSizeSet_, enabled);
}

void MakerForm::SetControl(const ControlRow& row, HWND control) {
  const auto index = static_cast<std::size_t>(row.index);
  switch (row.group) {
    case ControlGroup::KelmoSet:
      optKelmoSet_[index] = control;
      return;
    case ControlGroup::TimingSet:
      optTimingSet_[index] = control;
      return;
    case ControlGroup::SizeSet:
      optSizeSet_[index] = control;
      return;
    case ControlGroup::Cmd:
      cmdCmd_[index] = control;
      return;
    case ControlGroup::ListButtons:
      cmdList_[index] = control;
      return;
    case ControlGroup::None:
      break;
  }
  if (row.name == L"fraTimingSet") fraTimingSet_ = control;
  if (row.name == L"fraSizeSet") fraSizeSet_ = control;
  if (row.name == L"txtCmd") txtCmd_ = control;
  if (row.name == L"lstCmd") lstCmd_ = control;
}

void MakerForm::ShowGroup(const OpenedGroup& opened) {
  const bool kelmoPro = opened.launcher == LauncherChoice::KelmoPro;
  SendMessageW(optKelmoSet_[0], BM_SETCHECK, kelmoPro ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(optKelmoSet_[1], BM_SETCHECK, kelmoPro ? BST_CHECKED : BST_UNCHECKED, 0);
  SetOptionGroupsEnabled(kelmoPro);
  ListBoxStore list(lstCmd_);
  ClearList(list);
  for (const std::wstring& entry : opened.entries) list.Add(entry);
  group_.Opened(opened);
}

}  // namespace kelmo
