// frmMain's controls as the handlers use them: the handles of the indexed
// groups and single controls, the opened group's state, and the window
// operations the flows reach through MakerWindowAccess. The window
// (maker/win/main_window.h) creates the controls and hands each to the form;
// the form owns none of them. Win32 only.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "maker/win/maker_window_access.h"
#include "maker/window_layout.h"

namespace kelmo {

class MakerForm final : public MakerWindowAccess {
 public:
  HWND Handle() const override { return window_; }
  std::wstring ProgramText() const override;
  void SetProgramText(const std::wstring& text) override;
  std::vector<std::wstring> Entries() const override;
  LauncherChoice Launcher() const override;
  std::wstring PendingEntry() const override { return ComposeEntry(ComposerState()); }
  void AddEntry(const std::wstring& entry) override;
  // The launcher whose mode the window is in: a click on the option that is
  // already set has checked it before its handler runs, while the option
  // groups are enabled in kelmoPro's mode alone.
  LauncherChoice Mode() const;
  void ShowGroup(const OpenedGroup& group) override;
  OpenedGroupState& Group() override { return group_; }

  // The timing and size options as the item composer reads them.
  ComposerInput ComposerState() const;
  // Timing and size options, then their two frames, in that order.
  void SetOptionGroupsEnabled(bool enabled);

  // The window the controls are in; null when it is gone.
  void SetWindow(HWND window) { window_ = window; }
  // Keeps `control`, made from `row` of the control table, under its name
  // and index; a control the form has no handle for is not kept.
  void SetControl(const ControlRow& row, HWND control);

  // The controls by their names in the control table; null until made.
  const std::array<HWND, 2>& optKelmoSet() const { return optKelmoSet_; }
  const std::array<HWND, 4>& optTimingSet() const { return optTimingSet_; }
  const std::array<HWND, 6>& optSizeSet() const { return optSizeSet_; }
  const std::array<HWND, 2>& cmdCmd() const { return cmdCmd_; }
  const std::array<HWND, 5>& cmdList() const { return cmdList_; }
  HWND fraTimingSet() const { return fraTimingSet_; }
  HWND fraSizeSet() const { return fraSizeSet_; }
  HWND txtCmd() const { return txtCmd_; }
  HWND lstCmd() const { return lstCmd_; }

 private:
  HWND window_ = nullptr;
  std::array<HWND, 2> optKelmoSet_{};
  std::array<HWND, 4> optTimingSet_{};
  std::array<HWND, 6> optSizeSet_{};
  std::array<HWND, 2> cmdCmd_{};
  std::array<HWND, 5> cmdList_{};
  HWND fraTimingSet_ = nullptr;
  HWND fraSizeSet_ = nullptr;
  HWND txtCmd_ = nullptr;
  HWND lstCmd_ = nullptr;
  OpenedGroupState group_;
};

}  // namespace kelmo
