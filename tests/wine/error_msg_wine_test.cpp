// The error report as a user sees it: a real system-modal box.
#include <gtest/gtest.h>

#include <thread>

#include "common/error_msg.h"
#include "common/win_text.h"
#include "launcher/launcher_identity.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

TEST(ErrorMsgWine, ShowsTheReportInASystemModalErrorBox) {
  std::thread shower(
      [] { ErrorMsg(kLauncherProgram, L"frmMain!ExecProcess", Failure(-5, L"説明 text")); });
  HWND box = WaitForDialog(L"エラー - KelmoPro");
  ASSERT_NE(box, nullptr) << "no error report box";
  const std::wstring expected = BuildErrorReport(-5, L"説明 text", L"frmMain!ExecProcess",
                                                 kLauncherProgram, ProjectMaintainer());
  // The box shows the text as it came through the ANSI code page.
  EXPECT_EQ(MessageBoxText(box), FromAnsi(ToAnsi(expected)));
  EXPECT_NE(MessageBoxText(box).find(L"場所:frmMain!ExecProcessKelmoPro1.04.2485"),
            std::wstring::npos);
  EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) << "system-modal boxes stay on top";
  EXPECT_EQ(GetDlgItem(box, IDCANCEL) == nullptr && GetDlgItem(box, IDNO) == nullptr, true)
      << "OK alone";
  PressDialogButton(box, IDOK);
  shower.join();
  EXPECT_FALSE(IsWindow(box));
}

}  // namespace
}  // namespace kelmo
