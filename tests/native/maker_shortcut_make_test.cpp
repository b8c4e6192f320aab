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

  const struct {
    const wchar_t* typed;
    const wchar_t* clean;
  } names[] = {{L"my:app?", L"myapp"},
               {L"  a  b  ", L"a  b"},
               {L" \\/:,;*?\"<>| ", L""},
               {L"a\tb\x1f", L"ab"},
               {L"メモ帳*", L"メモ帳"},
               {L": x :", L"x"},
               {L".", L"."}};
  for (const auto& r : names) EXPECT_EQ(CleanShortcutName(r.typed), r.clean) << r.typed;
  EXPECT_EQ(CleanShortcutName(std::wstring(L"a\0b", 3)), L"ab");

  EXPECT_EQ(BuildTargetPath(L"C:\\Tools", LauncherChoice::Standard), L"C:\\Tools\\kelmo.exe");
  EXPECT_EQ(BuildTargetPath(L"D:\\", LauncherChoice::KelmoPro), L"D:\\kelmoPro.exe");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\x\\"), L"C:\\x\\");
}

TEST(ShortcutPartsTest, LengthLimitRefusesSumsFrom250) {
  constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
  const struct {
    std::size_t args, target;
    bool refused;
  } rows[] = {{200, 49, false}, {200, 50, true},  {0, 249, false},  {249, 0, false},
              {250, 0, true},   {1, kHuge, true}, {kHuge, 1, true}, {kHuge, kHuge, true}};
  for (const auto& r : rows) EXPECT_EQ(ExceedsLengthLimit(r.args, r.target), r.refused) << r.args;
}

TEST(ShortcutPartsTest, MessageTexts) {
  const std::wstring title = L"make失敗 - KelmoCM";
  const struct {
    MakeMessage m;
    const wchar_t* text;
  } rows[] = {
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
  EXPECT_EQ(missing.text,
            L"Kelmo Commandline Maker を動作させるには、\r\n"
            L"Internet Explorer 4 以上がインストールされた環境が必要です。");
  EXPECT_EQ(missing.title, title);
  EXPECT_EQ(missing.style, 0x40u);
  EXPECT_EQ(NamePromptText().prompt, L"作成するショートカットの名前は?");
  EXPECT_EQ(NamePromptText().title, L"名前は? - KelmoCM");
}

// Answers from configured values and logs every call in order.
struct FakePlatform : MakePlatform {
  Texts entries = {L"/b:a"};
  std::optional<std::wstring> desktop = L"C:\\D";
  std::wstring makerFolder = L"C:\\T";
  LauncherChoice launcher = LauncherChoice::KelmoPro;
  std::wstring answer = L"name";
  bool created = true;
  std::optional<std::int32_t> throwFromDesktop;
  Texts log;
  std::optional<ShellLinkRequest> request;

  Texts Entries() override { return Log(L"entries"), entries; }
  std::optional<std::wstring> DesktopFolder() override {
    Log(L"desktop");
    if (throwFromDesktop) throw Failure(*throwFromDesktop, L"SHGetSpecialFolderPathA");
    return desktop;
  }
  std::wstring MakerFolder() override { return Log(L"folder"), makerFolder; }
  LauncherChoice Launcher() override { return Log(L"launcher"), launcher; }
  std::wstring AskShortcutName() override { return Log(L"ask"), answer; }
  void ShowMakeFailure(MakeMessage m) override { Log(L"show " + std::to_wstring(int(m))); }
  bool CreateShellLink(const ShellLinkRequest& r) override {
    request = r;
    return Log(L"link"), created;
  }
  void Log(const std::wstring& call) { log.push_back(call); }
};

TEST(RunMakeTest, StepsInOrderStopsAtEachRefusalAndWritesTheLink) {
  constexpr auto kStd = LauncherChoice::Standard;
  constexpr auto kPro = LauncherChoice::KelmoPro;
  const Texts ask = {L"entries", L"desktop", L"folder", L"launcher", L"ask"};
  auto then = [&](const Texts& tail) {
    Texts t = ask;
    t.insert(t.end(), tail.begin(), tail.end());
    return t;
  };
  const std::wstring x199(199, L'x');  // argument string of 200
  const std::wstring f33(33, L'f');    // target "C:\" + 33 + "\kelmoPro.exe" = 49
  const std::optional<std::wstring> none;
  const struct {
    const char* name;
    Texts entries;
    std::optional<std::wstring> desktop;
    std::wstring folder;
    LauncherChoice launcher;
    std::wstring answer;
    bool created;
    Texts log;
    // The link written, when one is; null args stands for the 200-character string.
    const wchar_t *lnk = nullptr, *exe = nullptr, *args = nullptr;
  } rows[] = {
      // clang-format off
      {"empty list", {}, L"C:\\D", L"C:\\T", kPro, L"n", true, {L"entries"}},
      {"lookup fails", {L"a"}, none, L"C:\\T", kPro, L"n", true, {L"entries", L"desktop", L"show 0"}},
      {"lookup empty", {L"a"}, L"", L"C:\\T", kPro, L"n", true, {L"entries", L"desktop", L"show 0"}},
      {"cancelled", {L"a"}, L"C:\\D", L"C:\\T", kPro, L"", true, then({L"show 1"})},
      {"blank name", {L"a"}, L"C:\\D", L"C:\\T", kPro, L" ?: * ", true, then({L"show 1"})},
      {"sum 250", {x199}, L"C:\\D", L"C:\\" + f33 + L"g", kPro, L"n", true, then({L"show 2"})},
      {"sum 249", {x199}, L"C:\\D", L"C:\\" + f33, kPro, L"n", true, then({L"link"}),
       L"C:\\D\\n.lnk", L"C:\\fffffffffffffffffffffffffffffffff\\kelmoPro.exe"},
      {"link fails", {L"a"}, L"C:\\D", L"C:\\T", kPro, L"n", false, then({L"link", L"show 3"}),
       L"C:\\D\\n.lnk", L"C:\\T\\kelmoPro.exe", L" a"},
      {"standard", {L"\"a b.exe\""}, L"C:\\D", L"C:\\T", kStd, L"my:app?", true, then({L"link"}),
       L"C:\\D\\myapp.lnk", L"C:\\T\\kelmo.exe", L" \"a b.exe\""},
      {"roots", {L"/b:x.exe /q", L"/wx:メモ帳.exe"}, L"E:\\", L"D:\\", kPro, L" 起動 ", true,
       then({L"link"}), L"E:\\起動.lnk", L"D:\\kelmoPro.exe", L" /b:x.exe /q /wx:メモ帳.exe"},
      // clang-format on
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FakePlatform p;
    p.entries = r.entries;
    p.desktop = r.desktop;
    p.makerFolder = r.folder;
    p.launcher = r.launcher;
    p.answer = r.answer;
    p.created = r.created;
    RunMake(p);
    EXPECT_EQ(p.log, r.log);
    if (!r.lnk) continue;
    ShellLinkRequest want;  // work folder and icon file empty, icon index 0
    want.showCmd = 5;
    want.description = L"Linked by kelmoCM";
    want.lnkFile = r.lnk;
    want.exeFile = r.exe;
    want.exeArgs = r.args ? r.args : L" " + x199;
    ASSERT_TRUE(p.request.has_value());
    EXPECT_TRUE(*p.request == want)
        << p.request->lnkFile << "|" << p.request->exeFile << "|" << p.request->exeArgs;
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
