// What make refuses rather than write a shortcut that says something else
// (texts the ANSI code page cannot hold), and a desktop folder it need not
// refuse.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/com_init.h"
#include "maker/shell_link.h"
#include "tests/wine/dialog_answerer.h"
#include "tests/wine/maker_test_support.h"
#include "tests/wine/shortcut_file.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

constexpr wchar_t kFailureTitle[] = L"make失敗 - KelmoCM";
constexpr wchar_t kNotHeld[] =
    L"に、このコンピューターの文字コードで表せない文字が含まれています。";

class MakerRefusalGui : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(maker_.window(), nullptr);
    Click(maker_.Button(L"Kelmo Pro(&P)"));
  }
  void Add(const std::wstring& program) {
    SetText(maker_.Edit(), program);
    Click(maker_.Button(L"追加(&E)"));
  }
  std::vector<SeenDialog> Make(std::vector<DialogAnswer> answers) {
    DialogAnswerer answerer(maker_.processId(), std::move(answers));
    Click(maker_.Button(L"&make"), 30000);
    return answerer.Finish();
  }

  ScopedComInitialization com_;
  DesktopSnapshot desktop_;
  MakerProcess maker_;
};

TEST_F(MakerRefusalGui, EntryTheCodePageCannotHoldIsNamedAndTheListKept) {
  Add(L"C:\\tools\\a.exe");
  for (const wchar_t* text : {L"C:\\caf\u00E9.exe", L"C:\\a.exe \uD55C", L"C:\\a.exe \U0001F600"}) {
    SCOPED_TRACE(Narrow(text));
    Add(text);
    const auto seen = Make({Press(IDOK)});
    ASSERT_EQ(seen.size(), 1u) << "no name prompt: make stops before it";
    EXPECT_EQ(seen[0].title, kFailureTitle);
    EXPECT_EQ(seen[0].text.find(L"リストの 2 番目の項目" + std::wstring(kNotHeld)), 0u)
        << Narrow(seen[0].text);
    EXPECT_TRUE(seen[0].okOnly);
    EXPECT_EQ(ListItems(maker_.List()).size(), 2u);
    SelectListItem(maker_.List(), 1);
    Click(maker_.Button(L"削除(&D)"));
  }
  EXPECT_TRUE(desktop_.NewFiles().empty());

  // A yen sign typed for the backslash reaches the shortcut as one.
  Add(L"C:\u00A5tools\u00A5b.exe");
  ASSERT_EQ(Make({TypeAndOk(L"yen")}).size(), 1u);
  std::wstring exe, workDir, args, icon;
  int iconIdx = 0, showCmd = 0;
  ASSERT_TRUE(cShellLink().GetShellLinkInfo(desktop_.File(L"yen.lnk"), exe, workDir, args, icon,
                                            iconIdx, showCmd));
  EXPECT_EQ(args, L" /b:C:\\tools\\a.exe /b:C:\\tools\\b.exe");
}

// The shortcut's path reaches wide calls only: a desktop folder whose name
// the code page cannot hold (or holds only as a look-alike) is used as it is.
TEST_F(MakerRefusalGui, DesktopFolderTheCodePageCannotHoldIsUsedAsItIs) {
  ProbeDir scratch;
  Add(L"C:\\tools\\a.exe");
  for (const wchar_t* name :
       {L"desk caf\u00E9", L"desk \uD55C", L"desk \U0001F600", L"desk \u00A5"}) {
    const std::wstring folder = scratch.File(name);
    SCOPED_TRACE(Narrow(name));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const DesktopRedirected redirected(folder);
    ASSERT_EQ(Make({TypeAndOk(L"g")}).size(), 1u) << "the name prompt alone";
    EXPECT_EQ(FilesIn(folder), std::vector<std::wstring>{L"g.lnk"});
    ShortcutContents contents;
    ASSERT_TRUE(cShellLink().GetShortcutContents(folder + L"\\g.lnk", contents));
    EXPECT_EQ(contents.arguments, L" /b:C:\\tools\\a.exe");
  }
  EXPECT_TRUE(desktop_.NewFiles().empty());
}

}  // namespace
}  // namespace kelmo
