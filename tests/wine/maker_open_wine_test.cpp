// Opening a group again in the real kelmoCM.exe: a shortcut given as its
// argument or dropped on its window, a dropped program, files it must refuse,
// and the round trip from make through open to make again.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <cstring>
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

constexpr wchar_t kOpenTitle[] = L"開く - KelmoCM";
constexpr wchar_t kDropTitle[] = L"ドロップ - KelmoCM";

// Hands files to the maker's window the way the shell does when they are
// dropped on it: WM_DROPFILES with a DROPFILES block that lives in the
// receiving process. The block is written into kelmoCM's memory, since a
// handle of this process would mean nothing there; a fixed memory handle is
// its own address, so DragQueryFile reads it as the shell's own block. The
// maker's DragFinish cannot free pages it did not allocate from its heap and
// leaves them (a few bytes, until the test's maker ends).
void DropFiles(HWND window, const std::vector<std::wstring>& files) {
  DROPFILES header = {};
  header.pFiles = sizeof(DROPFILES);
  header.pt = {40, 40};
  header.fWide = TRUE;
  std::vector<char> block(sizeof(header));
  std::memcpy(block.data(), &header, sizeof(header));
  for (const std::wstring& file : files) {
    const char* bytes = reinterpret_cast<const char*>(file.c_str());
    block.insert(block.end(), bytes, bytes + (file.size() + 1) * sizeof(wchar_t));
  }
  block.insert(block.end(), sizeof(wchar_t), '\0');

  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
  ASSERT_TRUE(process);
  void* remote = VirtualAllocEx(process.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  ASSERT_NE(remote, nullptr);
  ASSERT_TRUE(WriteProcessMemory(process.get(), remote, block.data(), block.size(), nullptr));
  ASSERT_TRUE(PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0));
}

// Writes a shortcut by hand (not through the maker's window).
std::wstring WriteShortcut(const std::wstring& lnk, const std::wstring& target,
                           const std::wstring& arguments) {
  EXPECT_TRUE(cShellLink().CreateShellLink(lnk, target, L"", arguments, L"", 0, 5, L"by hand"))
      << Narrow(lnk);
  return lnk;
}

struct Link {
  std::wstring target;
  std::wstring arguments;
};

Link ReadLink(const std::wstring& lnk) {
  Link link;
  EXPECT_TRUE(cShellLink().GetShellLinkTarget(lnk, link.target, link.arguments)) << Narrow(lnk);
  return link;
}

// The maker started with `arguments` (its window found, nothing waited for
// beyond that).
class MakerStartedWith {
 public:
  explicit MakerStartedWith(const std::wstring& arguments)
      : started_(StartProgram(BinDir() + L"\\kelmoCM.exe", arguments)) {}
  ~MakerStartedWith() {
    if (started_.process && WaitForSingleObject(started_.process.get(), 0) == WAIT_TIMEOUT)
      KillProcess(started_.id);
  }
  MakerStartedWith(const MakerStartedWith&) = delete;
  MakerStartedWith& operator=(const MakerStartedWith&) = delete;

  DWORD processId() const { return started_.id; }
  HWND Window() {
    if (window_ == nullptr)
      WaitUntil([&] { return (window_ = FindMainWindow(started_.id, kMakerTitle)) != nullptr; });
    return window_;
  }
  HWND Child(const std::wstring& className, const std::wstring& caption = L"") {
    for (HWND child = GetWindow(Window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (_wcsicmp(ClassName(child).c_str(), className.c_str()) == 0 &&
          (caption.empty() || WindowText(child) == caption)) {
        return child;
      }
    }
    ADD_FAILURE() << "no " << Narrow(className) << " " << Narrow(caption);
    return nullptr;
  }

 private:
  StartedProcess started_;
  HWND window_ = nullptr;
};

// The state a window has at start and keeps after a refused open.
void ExpectInitialState(MakerStartedWith& maker) {
  EXPECT_TRUE(IsChecked(maker.Child(L"Button", L"Kelmo(&S)")));
  EXPECT_FALSE(IsWindowEnabled(maker.Child(L"Button", L"前(&B)")));
  EXPECT_TRUE(ListItems(maker.Child(L"ListBox")).empty());
  EXPECT_EQ(ControlText(maker.Child(L"Edit")), L"");
}

class MakerOpen : public ::testing::Test {
 protected:
  std::wstring KelmoPro() const { return BinDir() + L"\\kelmoPro.exe"; }
  std::wstring Kelmo() const { return BinDir() + L"\\kelmo.exe"; }

  ScopedComInitialization com_;
  ProbeDir dir_;
};

// A hand-made kelmoPro group with the grammar's leniency: the list holds the
// pieces exactly as the launcher cuts them, each kept as its text, in order;
// the option groups are enabled with their first choices and the text box
// stays empty.
TEST_F(MakerOpen, ArgumentOpensAHandMadeKelmoProGroupCutAsTheLauncherCutsIt) {
  const std::wstring lnk =
      WriteShortcut(dir_.File(L"hand made.lnk"), KelmoPro(),
                    L"  bn:first.exe /WX:C:\\a b\\calc.exe x:y /t:a.exe  /d:b.exe "
                    L"/bn:cmd.exe /k dir /  /a:\"q\" z");
  MakerStartedWith maker(L"\"" + lnk + L"\"");
  ASSERT_NE(maker.Window(), nullptr);
  HWND list = maker.Child(L"ListBox");
  ASSERT_TRUE(WaitUntil([&] { return !ListItems(list).empty(); }));
  const std::vector<std::wstring> expected = {L"bn:first.exe", L"/WX:C:\\a b\\calc.exe x:y",
                                              L"/t:a.exe ",    L"/d:b.exe",
                                              L"/bn:cmd.exe",  L"/k dir",
                                              L"/ ",           L"/a:\"q\" z"};
  EXPECT_EQ(ListItems(list), expected);
  EXPECT_TRUE(IsChecked(maker.Child(L"Button", L"Kelmo Pro(&P)")));
  EXPECT_FALSE(IsChecked(maker.Child(L"Button", L"Kelmo(&S)")));
  EXPECT_TRUE(IsWindowEnabled(maker.Child(L"Button", L"実行タイミング設定")));
  EXPECT_TRUE(IsWindowEnabled(maker.Child(L"Button", L"最大(&X)")));
  EXPECT_TRUE(IsChecked(maker.Child(L"Button", L"前(&B)")));
  EXPECT_TRUE(IsChecked(maker.Child(L"Button", L"標準(&D)")));
  EXPECT_EQ(ControlText(maker.Child(L"Edit")), L"");
}

// A shortcut written in wide text by another tool may hold characters the
// ANSI code page cannot: the list shows them as they are, and make refuses
// the entry by its place rather than saving look-alikes or "?".
TEST_F(MakerOpen, TextOutsideTheCodePageIsShownAsItIsAndMakeRefusesIt) {
  const std::wstring lnk = dir_.File(L"wide.lnk");
  {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_PPV_ARGS(link.GetAddressOf())));
    link->SetPath(KelmoPro().c_str());
    link->SetArguments(L" /b:C:\\tools\\a.exe /w:C:\\caf\u00E9\\\uD55C.exe");
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link.As(&file));
    ASSERT_HRESULT_SUCCEEDED(file->Save(lnk.c_str(), TRUE));
  }
  MakerStartedWith maker(L"\"" + lnk + L"\"");
  ASSERT_NE(maker.Window(), nullptr);
  HWND list = maker.Child(L"ListBox");
  ASSERT_TRUE(WaitUntil([&] { return !ListItems(list).empty(); }));
  EXPECT_EQ(ListItems(list),
            (std::vector<std::wstring>{L"/b:C:\\tools\\a.exe", L"/w:C:\\caf\u00E9\\\uD55C.exe"}));

  DialogAnswerer answerer(maker.processId(), {Press(IDOK)});
  Click(maker.Child(L"Button", L"&make"), 30000);
  const std::vector<SeenDialog> seen = answerer.Finish();
  ASSERT_EQ(seen.size(), 1u) << "make stops before the name prompt";
  // The box itself is shown through the ANSI code page, so it names the
  // entry by its place.
  EXPECT_NE(seen[0].text.find(L"リストの 2 番目の項目"), std::wstring::npos)
      << Narrow(seen[0].text);
  EXPECT_EQ(ListItems(list).size(), 2u);
}

// The standard launcher's quoted entries, and files the maker must refuse:
// each refusal is one message and leaves the window as it was. Of several
// arguments (several files dropped on kelmoCM.exe) the first is opened.
TEST_F(MakerOpen, StandardGroupOpensAndOtherFilesAreRefusedWithAMessage) {
  const std::wstring notes = dir_.File(L"notes.txt");
  CloseHandle(CreateFileW(notes.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  MakerStartedWith maker(L"\"" + notes + L"\" \"" + KelmoPro() + L"\"");
  DialogAnswerer answerer(maker.processId(), {Press(IDOK), Press(IDOK), Press(IDOK), Press(IDOK)});
  ASSERT_TRUE(answerer.WaitForAnswered(2));
  ExpectInitialState(maker);

  // Not a shortcut although it is named like one; a shortcut to another program.
  const std::wstring broken = dir_.File(L"broken.lnk");
  CopyFileW(notes.c_str(), broken.c_str(), FALSE);
  DropFiles(maker.Window(), {broken});
  ASSERT_TRUE(answerer.WaitForAnswered(3));
  const std::wstring notepad =
      WriteShortcut(dir_.File(L"メモ帳.lnk"), L"C:\\windows\\notepad.exe", L"/b:x");
  DropFiles(maker.Window(), {notepad});
  ASSERT_TRUE(answerer.WaitForAnswered(4));
  ExpectInitialState(maker);

  DropFiles(maker.Window(), {WriteShortcut(dir_.File(L"std.lnk"), Kelmo(),
                                           L" \"C:\\a b.exe\" \"x:\"q\" y\"  \"z\"")});
  HWND list = maker.Child(L"ListBox");
  ASSERT_TRUE(WaitUntil([&] { return !ListItems(list).empty(); }));
  EXPECT_EQ(ListItems(list),
            (std::vector<std::wstring>{L"\"C:\\a b.exe\"", L"\"x:\"q\" y\" ", L"\"z\""}));
  EXPECT_TRUE(IsChecked(maker.Child(L"Button", L"Kelmo(&S)")));
  EXPECT_FALSE(IsWindowEnabled(maker.Child(L"Button", L"前(&B)")));

  std::vector<SeenDialog> seen = answerer.Finish();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].title, kDropTitle);
  EXPECT_EQ(seen[0].text,
            L"複数のファイルがドロップされました。最初のファイルだけを使います。\r\n「notes.txt」");
  seen.erase(seen.begin());
  for (const SeenDialog& box : seen) EXPECT_EQ(box.title, kOpenTitle);
  EXPECT_EQ(seen[0].text,
            L"「notes.txt」をショートカットとして読み込めませんでした。\r\n"
            L"Kelmo Command line Maker で作成したショートカットを指定してください。");
  EXPECT_EQ(seen[1].text.substr(0, 12), L"「broken.lnk」");
  EXPECT_EQ(seen[2].text,
            L"「メモ帳.lnk」は kelmo.exe または kelmoPro.exe "
            L"のショートカットではないため、開けません。\r\n"
            L"リンク先: C:\\windows\\notepad.exe");
}

// A dropped program goes into the text box as Browse puts it there; of
// several files the first is used after a note; a dropped group replaces a
// list that holds entries only after Yes.
TEST_F(MakerOpen, DropsFillTheTextBoxOrReplaceTheListAfterAQuestion) {
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  const ProbeCopy program = CopyProbeAs(dir_, L"program with a long name.exe");
  const ProbeCopy second = CopyProbeAs(dir_, L"second long named program.exe");
  DialogAnswerer answerer(maker.processId(), {Press(IDOK), Press(IDNO), Press(IDOK), Press(IDYES)});

  DropFiles(maker.window(), {program.path});
  ASSERT_TRUE(WaitUntil([&] { return ControlText(maker.Edit()) == program.shortPath; }));
  DropFiles(maker.window(), {second.path, program.path});
  ASSERT_TRUE(answerer.WaitForAnswered(1));
  ASSERT_TRUE(WaitUntil([&] { return ControlText(maker.Edit()) == second.shortPath; }));
  EXPECT_TRUE(ListItems(maker.List()).empty()) << "a dropped program is not added";

  Click(maker.Button(L"追加(&E)"));
  const std::vector<std::wstring> kept = {L"\"" + second.shortPath + L"\""};
  ASSERT_EQ(ListItems(maker.List()), kept);
  const std::wstring group =
      WriteShortcut(dir_.File(L"group.lnk"), KelmoPro(), L" /wx:a.exe /b:b.exe");
  DropFiles(maker.window(), {group});
  ASSERT_TRUE(answerer.WaitForAnswered(2));
  EXPECT_EQ(ListItems(maker.List()), kept) << "No keeps the list";
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo(&S)")));

  DropFiles(maker.window(), {group, program.path});
  ASSERT_TRUE(answerer.WaitForAnswered(4));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(maker.List()).size() == 2; }));
  EXPECT_EQ(ListItems(maker.List()), (std::vector<std::wstring>{L"/wx:a.exe", L"/b:b.exe"}));
  EXPECT_TRUE(IsChecked(maker.Button(L"Kelmo Pro(&P)")));

  const std::vector<SeenDialog> seen = answerer.Finish();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].title, kDropTitle);
  EXPECT_TRUE(seen[0].okOnly);
  EXPECT_EQ(seen[0].text,
            L"複数のファイルがドロップされました。最初のファイルだけを使います。\r\n"
            L"「second long named program.exe」");
  EXPECT_EQ(seen[1].title, kOpenTitle);
  EXPECT_TRUE(seen[1].yesNo);
  EXPECT_EQ(seen[1].text, L"現在のリストを「group.lnk」の内容に置き換えます。よろしいですか?");
  EXPECT_EQ(seen[2].title, kDropTitle);
  EXPECT_EQ(seen[3].title, kOpenTitle);
}

// Answers the name prompt with the name it offers, noting what that was.
DialogAnswer AcceptOfferedName(std::wstring& offered) {
  return [&offered](HWND dialog) {
    offered = ControlText(FindEdit(dialog));
    PressDialogButton(dialog, IDOK);
  };
}

// Groups made in the maker's window, opened again (dropped on the same
// window) and made again with the offered name: the second shortcut has
// byte for byte the arguments and target of the first.
TEST_F(MakerOpen, GroupsMadeOpenedAndMadeAgainAreWrittenByteForByteAsBefore) {
  DesktopSnapshot desktop;
  MakerProcess maker;
  ASSERT_NE(maker.window(), nullptr);
  const std::wstring kelmoProTarget = KelmoPro();
  struct Row {
    const char* name;
    bool kelmoPro;
    // Program text, timing caption, size caption.
    std::vector<std::vector<std::wstring>> items;
  };
  std::vector<Row> rows = {
      {"before with every size",
       true,
       {{L"a.exe", L"前(&B)", L"標準(&D)"},
        {L"b.exe", L"前(&B)", L"最小(&M)"},
        {L"c.exe", L"前(&B)", L"最大(&X)"},
        {L"d.exe", L"前(&B)", L"通常(&N)"},
        {L"e.exe", L"前(&B)", L"非アクティブ最小(&I)"},
        {L"f.exe", L"前(&B)", L"非アクティブ通常(&O)"}}},
      {"every timing, spaces colons and quotes",
       true,
       {{L"C:\\Program Files\\x y.exe \"arg: 1\"", L"待機対象(&W)", L"最大(&X)"},
        {L"  spaced  ", L"後(&A)", L"標準(&D)"},
        {L"\"q\" x:y", L"同期(&T)", L"非アクティブ最小(&I)"}}},
      {"standard launcher",
       false,
       {{L"C:\\a b\\c.exe", L"", L""}, {L"say \"hi\":now", L"", L""}, {L" x ", L"", L""}}},
      {"at the length limit", true, {}},
  };
  // Arguments plus target of exactly 249 characters: " /b:" and a program.
  rows.back().items.push_back(
      {std::wstring(249 - kelmoProTarget.size() - 4, L'p'), L"前(&B)", L"標準(&D)"});

  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Click(maker.Button(L"リストクリア(&L)"));
    Click(maker.Button(row.kelmoPro ? L"Kelmo Pro(&P)" : L"Kelmo(&S)"));
    for (const auto& item : row.items) {
      if (row.kelmoPro) {
        Click(maker.Button(item[1]));
        Click(maker.Button(item[2]));
      }
      SetText(maker.Edit(), item[0]);
      Click(maker.Button(L"追加(&E)"));
    }
    const std::vector<std::wstring> made = ListItems(maker.List());
    ASSERT_EQ(made.size(), row.items.size());
    {
      DialogAnswerer answerer(maker.processId(), {TypeAndOk(L"round trip")});
      Click(maker.Button(L"&make"), 30000);
      ASSERT_EQ(answerer.Finish().size(), 1u);
    }
    const std::wstring lnk = desktop.File(L"round trip.lnk");
    const Link first = ReadLink(lnk);
    if (&row == &rows.back()) {
      EXPECT_EQ(first.target.size() + first.arguments.size(), 249u);
    }

    // Opened again over the list that made it, then made with the offered name.
    std::wstring offered;
    {
      DialogAnswerer answerer(maker.processId(), {Press(IDYES)});
      Click(maker.Button(L"リストクリア(&L)"));
      DropFiles(maker.window(), {lnk});
      ASSERT_TRUE(WaitUntil([&] { return ListItems(maker.List()).size() == made.size(); }));
      EXPECT_TRUE(answerer.Finish().empty()) << "an empty list is replaced without a question";
    }
    EXPECT_EQ(ListItems(maker.List()), made);
    {
      DialogAnswerer answerer(maker.processId(), {AcceptOfferedName(offered)});
      Click(maker.Button(L"&make"), 30000);
      ASSERT_EQ(answerer.Finish().size(), 1u);
    }
    EXPECT_EQ(offered, L"round trip");
    const Link second = ReadLink(lnk);
    EXPECT_EQ(second.arguments, first.arguments);
    EXPECT_EQ(second.target, first.target);
    EXPECT_EQ(desktop.NewFiles(), std::vector<std::wstring>{L"round trip.lnk"});
  }
}

// After an open, cancelling the prompt still makes nothing, and a save that
// cannot replace the opened shortcut (another program holds it open) leaves
// it whole.
TEST_F(MakerOpen, MakeAfterOpenCancelledOrFailedKeepsTheOpenedShortcut) {
  DesktopSnapshot desktop;
  const std::wstring lnk = WriteShortcut(desktop.File(L"kept.lnk"), KelmoPro(), L" /w:a.exe");
  MakerStartedWith maker(L"\"" + lnk + L"\"");
  ASSERT_TRUE(WaitUntil([&] { return ListItems(maker.Child(L"ListBox")).size() == 1; }));
  const std::string before = ReadWholeFile(lnk);
  SetText(maker.Child(L"Edit"), L"b.exe");
  Click(maker.Child(L"Button", L"追加(&E)"));

  std::wstring offered;
  DialogAnswerer answerer(
      maker.processId(), {Press(IDCANCEL), Press(IDYES), AcceptOfferedName(offered), Press(IDYES)});
  Click(maker.Child(L"Button", L"&make"), 30000);
  EXPECT_EQ(ReadWholeFile(lnk), before);
  {
    // Held open without delete sharing: the shortcut cannot be replaced.
    const UniqueHandle held(CreateFileW(lnk.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    Click(maker.Child(L"Button", L"&make"), 30000);
  }
  const std::vector<SeenDialog> seen = answerer.Finish();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[1].text, L"ショートカットの作成を中止しました。");
  EXPECT_EQ(offered, L"kept");
  EXPECT_EQ(seen[3].text, L"ショートカットの作成に失敗しました。");
  EXPECT_EQ(ReadWholeFile(lnk), before) << "the opened shortcut was changed by a failed make";
  EXPECT_EQ(desktop.NewFiles(), std::vector<std::wstring>{L"kept.lnk"});
}

}  // namespace
}  // namespace kelmo
