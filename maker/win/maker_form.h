// frmMain's controls as the handlers use them: the handles of the indexed
// groups and single controls, the opened group's state, and the window
// operations the flows reach through MakerWindowAccess. The window
// (maker/win/main_window.h) creates the controls and fills in the handles; the
// form owns none of them. Win32 only.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "maker/win/maker_window_access.h"

namespace kelmo {

class MakerForm final : public MakerWindowAccess {
 public:
  HWND Handle() const override { return window; }
  std::wstring ProgramText() const override;
  void SetProgramText(const std::wstring& text) override;
  std::vector<std::wstring> Entries() const override;
  LauncherChoice Launcher() const override;
  void ShowGroup(const OpenedGroup& group) override;
  OpenedGroupState& Group() override { return group; }

  // The timing and size options as the item composer reads them.
  ComposerInput ComposerState() const;
  // Timing and size options, then their two frames, in that order.
  void SetOptionGroupsEnabled(bool enabled);

  HWND window = nullptr;
  std::array<HWND, 2> optKelmoSet{};
  std::array<HWND, 4> optTimingSet{};
  std::array<HWND, 6> optSizeSet{};
  std::array<HWND, 2> cmdCmd{};
  std::array<HWND, 5> cmdList{};
  HWND fraTimingSet = nullptr;
  HWND fraSizeSet = nullptr;
  HWND txtCmd = nullptr;
  HWND lstCmd = nullptr;
  OpenedGroupState group;
};

}  // namespace kelmo
