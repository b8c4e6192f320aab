#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "maker/shortcut_make.h"

namespace kelmo {
namespace {

using Texts = std::vector<std::wstring>;

TEST(ShortcutPartsTest, ArgumentsNameAndPaths) {
  EXPECT_EQ(BuildArgumentString({}), L"");
  EXPECT_EQ(BuildArgumentString({L"/wx:a.exe"}), L" /wx:a.exe");
  EXPECT_EQ(BuildArgumentString({L"/b:a b.exe /q", L"\" c \"", L"帳"}),
            L" /b:a b.exe /q \" c \" 帳");

  const struct { const wchar_t* typed; const wchar_t* clean; } names[] = {
      {L"my:app?", L"myapp"}, {L"  a  b  ", L"a  b"}, {L" \\/:,;*?\"<>| ", L""},
      {L"a\tb\x1f", L"ab"}, {L"メモ帳*", L"メモ帳"}, {L": x :", L"x"}, {L".", L"."}};
  for (const auto& r : names) EXPECT_EQ(CleanShortcutName(r.typed), r.clean) << r.typed;
  EXPECT_EQ(CleanShortcutName(std::wstring(L"a\0b", 3)), L"ab");

  EXPECT_EQ(BuildTargetPath(L"C:\\Tools", LauncherChoice::Standard), L"C:\\Tools\\kelmo.exe");
  EXPECT_EQ(BuildTargetPath(L"D:\\", LauncherChoice::KelmoPro), L"D:\\kelmoPro.exe");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\x\\"), L"C:\\x\\");
}

TEST(ShortcutPartsTest, LengthLimitRefusesSumsFrom250) {
  constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
  const struct { std::size_t args, target; bool refused; } rows[] = {
      {200, 49, false}, {200, 50, true}, {0, 249, false}, {249, 0, false}, {250, 0, true},
      {1, kHuge, true}, {kHuge, 1, true}, {kHuge, kHuge, true}};
  for (const auto& r : rows) EXPECT_EQ(ExceedsLengthLimit(r.args, r.target), r.refused) << r.args;
}

TEST(ShortcutPartsTest, MessageTexts) {
  const std::wstring title = L"make失敗 - KelmoCM";
  const struct { MakeMessage m; const wchar_t* text; } rows[] = {
      {MakeMessage::DesktopLookupFailed, L"デスクトップフォルダのパス取得に失敗しました。"},
      {MakeMessage::EmptyName, L"ショートカットの作成を中止しました。"},
      {MakeMessage::TooLong, L"オプションが長すぎます。\r\nショートカットの作成を中止しました。"},
      {MakeMessage::CreateFailed, L"ショートカットの作成に失敗しました。"}};
  for (const auto& r : rows) {
    const MessageText m = MakeMessageText(r.m);
    EXPECT_EQ(m.text, r.text);
    EXPECT_EQ(m.title, title);
    EXPECT_EQ(m.style, 0x34u);
  }
  const MessageText missing = MissingFunctionMessage();
  EXPECT_EQ(missing.text, L"Kelmo Commandline Maker を動作させるには、\r\n"
                          L"Internet Explorer 4 以上がインストールされた環境が必要です。");
  EXPECT_EQ(missing.title, title);
  EXPECT_EQ(missing.style, 0x40u);
  EXPECT_EQ(NamePromptText().prompt, L"作成するショートカットの名前は?");
  EXPECT_EQ(NamePromptText().title, L"名前は? - KelmoCM");
}

// Answers from configured values and logs every call in order.
struct FakePlatform : MakePlatform {
  Texts entries;
  std::optional<std::wstring> desktop = L"C:\\Users\\u\\Desktop";
  std::wstring makerFolder = L"C:\\Tools";
  LauncherChoice launcher = LauncherChoice::KelmoPro;
  std::wstring answer = L"name";
  bool created = true;
  std::optional<std::int32_t> throwFromDesktop;
  Texts log;
  std::optional<ShellLinkRequest> request;

  Texts Entries() override { log.push_back(L"entries"); return entries; }
  std::optional<std::wstring> DesktopFolder() override {
    log.push_back(L"desktop");
    if (throwFromDesktop) throw Failure(*throwFromDesktop, L"SHGetSpecialFolderPathA");
    return desktop;
  }
  std::wstring MakerFolder() override { log.push_back(L"folder"); return makerFolder; }
  LauncherChoice Launcher() override { log.push_back(L"launcher"); return launcher; }
  std::wstring AskShortcutName() override { log.push_back(L"ask"); return answer; }
  void ShowMakeFailure(MakeMessage m) override {
    log.push_back(L"show " + std::to_wstring(static_cast<int>(m)));
  }
  bool CreateShellLink(const ShellLinkRequest& r) override {
    log.push_back(L"link");
    request = r;
    return created;
  }
};

const Texts kUpToAsk = {L"entries", L"desktop", L"folder", L"launcher", L"ask"};
Texts Then(Texts head, const Texts& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST(RunMakeTest, StepsInOrderAndStopsAtEachRefusal) {
  // Folder of 33 characters after "C:\": target = 3 + 33 + 1 + 12 = 49.
  const std::wstring folder49 = L"C:\\" + std::wstring(33, L'f');
  const struct {
    const char* name;
    void (*setup)(FakePlatform&, const std::wstring&);
    Texts log;
  } rows[] = {
      {"empty list", [](FakePlatform& p, const std::wstring&) { p.entries = {}; }, {L"entries"}},
      {"lookup fails", [](FakePlatform& p, const std::wstring&) { p.desktop.reset(); },
       {L"entries", L"desktop", L"show 0"}},
      {"lookup empty", [](FakePlatform& p, const std::wstring&) { p.desktop = L""; },
       {L"entries", L"desktop", L"show 0"}},
      {"cancelled", [](FakePlatform& p, const std::wstring&) { p.answer = L""; },
       Then(kUpToAsk, {L"show 1"})},
      {"blank name", [](FakePlatform& p, const std::wstring&) { p.answer = L" ?: * "; },
       Then(kUpToAsk, {L"show 1"})},
      {"sum 249", [](FakePlatform& p, const std::wstring& f) { p.makerFolder = f; },
       Then(kUpToAsk, {L"link"})},
      {"sum 250", [](FakePlatform& p, const std::wstring& f) { p.makerFolder = f + L"g"; },
       Then(kUpToAsk, {L"show 2"})},
      {"link fails", [](FakePlatform& p, const std::wstring&) { p.created = false; },
       Then(kUpToAsk, {L"link", L"show 3"})},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FakePlatform p;
    p.entries = {std::wstring(199, L'x')};  // argument string of 200
    r.setup(p, folder49);
    RunMake(p);
    EXPECT_EQ(p.log, r.log);
  }
}

TEST(RunMakeTest, WritesShortcutFromListAndFolders) {
  const struct {
    Texts entries;
    const wchar_t* desktop;
    const wchar_t* folder;
    LauncherChoice launcher;
    const wchar_t* answer;
    const wchar_t* lnk;
    const wchar_t* exe;
    const wchar_t* args;
  } rows[] = {
      {{L"\"a b.exe\""}, L"C:\\D", L"C:\\T", LauncherChoice::Standard, L"my:app?",
       L"C:\\D\\myapp.lnk", L"C:\\T\\kelmo.exe", L" \"a b.exe\""},
      {{L"/b:x.exe /q", L"/wx:メモ帳.exe"}, L"E:\\", L"D:\\", LauncherChoice::KelmoPro,
       L" 起動 ", L"E:\\起動.lnk", L"D:\\kelmoPro.exe", L" /b:x.exe /q /wx:メモ帳.exe"},
  };
  for (const auto& r : rows) {
    FakePlatform p;
    p.entries = r.entries;
    p.desktop = r.desktop;
    p.makerFolder = r.folder;
    p.launcher = r.launcher;
    p.answer = r.answer;
    RunMake(p);
    ShellLinkRequest want;
    want.lnkFile = r.lnk;
    want.exeFile = r.exe;
    want.exeArgs = r.args;
    ASSERT_TRUE(p.request.has_value()) << r.answer;
    EXPECT_TRUE(*p.request == want) << p.request->lnkFile << " " << p.request->exeFile;
    EXPECT_EQ(p.request->workDir + p.request->iconFile, L"");
    EXPECT_EQ(p.request->iconIdx, 0);
    EXPECT_EQ(p.request->showCmd, 5);
    EXPECT_EQ(p.request->description, L"Linked by kelmoCM");
    EXPECT_EQ(p.log, Then(kUpToAsk, {L"link"}));
  }
}

TEST(RunMakeTest, PlatformFailurePassesThroughWithoutMessage) {
  FakePlatform p;
  p.entries = {L"/b:a"};
  p.throwFromDesktop = kMissingFunction;
  try {
    RunMake(p);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), kMissingFunction);
  }
  EXPECT_EQ(p.log, (Texts{L"entries", L"desktop"}));
}

}  // namespace
}  // namespace kelmo
