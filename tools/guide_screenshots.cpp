// Takes the user guide's pictures of the maker under Wine: the window as it
// opens, with a Kelmo Pro group composed, the shortcut-name prompt, and the
// saved group opened again for editing.
// Not a test; ./dev shots runs it and turns the BMP files into PNGs.
//   guide_screenshots.exe <output folder>
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/maker_test_support.h"
#include "tests/wine/shortcut_file.h"

namespace kelmo {
namespace {

using namespace testing_support;

std::wstring g_outputFolder;

void Shoot(const std::wstring& title, const std::wstring& name) {
  StartedProcess shooter =
      StartProgram(BinDir() + L"\\screenshot.exe",
                   L"\"" + title + L"\" \"" + g_outputFolder + L"\\" + name + L".bmp\"");
  const auto code = WaitForExit(shooter, 20000);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u) << Narrow(name);
}

TEST(GuideScreenshots, Maker) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  Shoot(kMakerTitle, L"maker-start");

  Click(maker.Button(L"Kelmo Pro(&P)"));
  maker.Add(L"C:\\windows\\notepad.exe", L"前(&B)", L"標準(&D)");
  maker.Add(L"C:\\Tools\\helper.exe", L"同期(&T)", L"最小(&M)");
  maker.Add(L"C:\\Games\\game.exe -full", L"待機対象(&W)", L"最大(&X)");
  maker.Add(L"C:\\Tools\\backup.exe", L"後(&A)", L"通常(&N)");
  SelectListItem(maker.List(), 2);
  SetText(maker.Edit(), L"C:\\Tools\\backup.exe");
  Shoot(kMakerTitle, L"maker-group");

  PostClick(maker.Button(L"&make"));
  Shoot(kPromptTitle, L"maker-name");
  HWND prompt = WaitForDialog(kPromptTitle);
  ASSERT_NE(prompt, nullptr);
  HWND name = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ゲームの夜"));
  PressDialogButton(prompt, IDOK);

  // The saved group, opened again in a fresh maker as when the shortcut is
  // dropped on kelmoCM.exe.
  const std::wstring lnk = DesktopFolder() + L"\\ゲームの夜.lnk";
  ASSERT_TRUE(
      WaitUntil([&] { return GetFileAttributesW(lnk.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  Click(maker.Button(L"終了(&X)"));
  ASSERT_TRUE(maker.WaitForExit().has_value());
  {
    const MakerProcess opened(BinDir(), Quoted(lnk));
    ASSERT_TRUE(opened.WaitForListSize(4));
    Shoot(kMakerTitle, L"maker-open");
  }
  DeleteFileW(lnk.c_str());
}

}  // namespace
}  // namespace kelmo

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    const std::string folder = argv[1];
    kelmo::g_outputFolder = std::wstring(folder.begin(), folder.end());
  }
  return RUN_ALL_TESTS();
}
