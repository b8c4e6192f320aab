#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "maker/opened_group.h"
#include "maker/shortcut_make.h"

namespace kelmo {
namespace {

using Texts = std::vector<std::wstring>;

// The refusals of a text the code page cannot hold, as the user reads them.
constexpr wchar_t kEntryRefused[] =
    L"リストの 2 番目の項目に、このコンピューターの文字コードで表せない文字が含まれています。"
    L"\r\n/w:caf\u00E9.exe\r\nショートカットの作成を中止しました。";
constexpr wchar_t kTargetRefused[] =
    L"ショートカットが起動するプログラムのパスに、このコンピューターの文字コードで表せない文字が"
    L"含まれています。\r\nC:\\caf\u00E9\\kelmoPro.exe\r\nショートカットの作成を中止しました。";

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
               {L".", L"."},
               // DEL, C1 controls and the characters that hide or reorder text:
               // "invoice\u202Efdp.exe" would show as "invoiceexe.pdf".
               {L"a\x7f\x80\x85\x9f"
                L"b",
                L"ab"},
               {L"invoice\u202Efdp.exe", L"invoicefdp.exe"},
               {L"\u200Bx\u200C\u200D\u200E\u200F\u202A\u202B\u202C\u202D", L"x"},
               {L"\u2066y\u2067\u2068\u2069\uFEFF", L"y"},
               {L" \u202E ", L""},
               // Soft hyphen, Arabic letter mark, word joiner and the invisible operators.
               {L"a\xAD\u061Cb\u2060\u2061\u2062\u2063\u2064", L"ab"},
               // Neighbours stay: no-break space, ¡, U+200A, U+2010, U+202F, U+2065, U+206A,
               // ®, U+061B, U+061D, U+205F.
               {L"\xa0\xa1\u200A\u2010\u202F\u2065\u206A\xAE\u061B\u061D\u205F",
                L"\xa0\xa1\u200A\u2010\u202F\u2065\u206A\xAE\u061B\u061D\u205F"}};
  for (const auto& r : names) EXPECT_EQ(CleanShortcutName(r.typed), r.clean) << r.typed;
  EXPECT_EQ(CleanShortcutName(std::wstring(L"a\0b", 3)), L"ab");
  // Surrogates, as 16-bit units: a pair stays, a half alone goes.
  const auto units = [](std::initializer_list<unsigned> list) {
    std::wstring text;
    for (const unsigned u : list) text += static_cast<wchar_t>(u);
    return text;
  };
  const struct {
    std::wstring typed, clean;
  } halves[] = {
      {units({'a', 0xD83D, 0xDE00, 'b'}), units({'a', 0xD83D, 0xDE00, 'b'})},
      {units({'a', 0xD83D, 'b'}), L"ab"},
      {units({'a', 0xDE00, 'b'}), L"ab"},
      {units({0xDE00, 0xD83D}), L""},
      {units({0xD83D, 0xD83D, 0xDE00}), units({0xD83D, 0xDE00})},
      {units({'x', 0xDBFF}), L"x"},
  };
  for (const auto& r : halves) EXPECT_EQ(CleanShortcutName(r.typed), r.clean);

  EXPECT_EQ(BuildTargetPath(L"C:\\Tools", LauncherChoice::Standard), L"C:\\Tools\\kelmo.exe");
  EXPECT_EQ(BuildTargetPath(L"D:\\", LauncherChoice::KelmoPro), L"D:\\kelmoPro.exe");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\x\\"), L"C:\\x\\");
}

TEST(ShortcutPartsTest, DeviceNamesInAnyFormAndOnlyThem) {
  for (const wchar_t* device : {L"CON",           L"nul",       L"Prn",
                                L"aux",           L"COM1",      L"com9",
                                L"LPT1",          L"lpt9",      L"COM0",
                                L"LPT0",          L"COM\u00B9", L"lpt\u00B3",
                                L"CONIN$",        L"conout$",   L"NUL.lnk",
                                L"con.txt.lnk",   L"COM1 .lnk", L"nul.",
                                L"NUL. . ",       L"AUX  ",     L"C:\\Users\\me\\Desktop\\COM3.lnk",
                                L"D:/x/LpT2.lnk", L"C:nul"}) {
    EXPECT_TRUE(NamesDevice(device)) << device;
  }
  for (const wchar_t* file :
       {L"CONS.lnk", L"console.lnk", L"COM10.lnk", L"LPT.lnk", L"COM.lnk", L"NULL.lnk", L"xNUL.lnk",
        L"C:\\NUL\\x.lnk", L"my nul.lnk", L"COM\u00B4.lnk", L"", L".lnk", L"C:\\Desktop\\"}) {
    EXPECT_FALSE(NamesDevice(file)) << file;
  }
}

TEST(ShortcutPartsTest, RoundTripKeepsOnlyTheYenAndOverlineLookAlikes) {
  const struct {
    const wchar_t *wrote, *came;
    bool accepted, refused;  // the verdict with look-alikes accepted / refused
  } rows[] = {
      {L"C:\\a.exe", L"C:\\a.exe", true, true},
      {L"", L"", true, true},
      {L"C:\u00A5a.exe ~", L"C:\\a.exe ~", true, false},
      {L"\u203Ex", L"~x", true, false},
      {L"caf\u00E9", L"caf?", false, false},
      {L"caf\u00E9", L"cafe", false, false},
      {L"\u00A5", L"?", false, false},
      {L"\\", L"\u00A5", false, false},  // only the way the code page goes
      {L"\u301C", L"\uFF5E", false, false},
      {L"\U0001F600", L"??", false, false},
      {L"\U0001F600", L"?", false, false},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(SurvivedRoundTrip(r.wrote, r.came, LookAlikes::Accepted), r.accepted) << r.wrote;
    EXPECT_EQ(SurvivedRoundTrip(r.wrote, r.came, LookAlikes::Refused), r.refused) << r.wrote;
  }
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

// Every box has the same title; the refusals of a text outside the code page
// have OK alone with the exclamation icon.
TEST(ShortcutPartsTest, MessageTexts) {
  const struct {
    MessageText m;
    const wchar_t* text;
    unsigned style;
  } rows[] = {
      {MakeMessageText(MakeMessage::DesktopLookupFailed),
       L"デスクトップフォルダのパス取得に失敗しました。", 0x34},
      {MakeMessageText(MakeMessage::EmptyName), L"ショートカットの作成を中止しました。", 0x34},
      {MakeMessageText(MakeMessage::TooLong),
       L"オプションが長すぎます。\r\nショートカットの作成を中止しました。", 0x34},
      {MakeMessageText(MakeMessage::CreateFailed), L"ショートカットの作成に失敗しました。", 0x34},
      {EntryNotInCodePageMessage(2, L"/w:caf\u00E9.exe"), kEntryRefused, 0x30},
      {TargetNotInCodePageMessage(L"C:\\caf\u00E9\\kelmoPro.exe"), kTargetRefused, 0x30},
      {MissingFunctionMessage(),
       L"Kelmo Commandline Maker を動作させるには、\r\n"
       L"Internet Explorer 4 以上がインストールされた環境が必要です。",
       0x40},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(r.m.text, r.text);
    EXPECT_EQ(r.m.title, L"make失敗 - KelmoCM") << r.text;
    EXPECT_EQ(r.m.style, r.style) << r.text;
  }
  EXPECT_EQ(AddBeforeMakeQuestion(L"/w:b").style, 0x23u) << "Yes, No and Cancel";
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
  bool enter = false;  // Enter on the name offered instead of `answer`
  bool created = true;
  std::optional<std::int32_t> throwFromDesktop;
  std::wstring pending;  // what the add button would append
  Answer addFirst = Answer::Yes;
  Texts missing;  // files that are not there
  Texts log;
  std::optional<ShellLinkRequest> request;

  Texts Entries() override { return Log(L"entries"), entries; }
  std::wstring PendingEntry() override { return pending; }
  Answer AskYesNoCancel(const MessageText&) override { return Log(L"add?"), addFirst; }
  void AddEntry(const std::wstring& entry) override { Log(L"add " + entry); }
  bool FileExists(const std::wstring& path) override {
    return std::find(missing.begin(), missing.end(), path) == missing.end();
  }
  std::optional<std::wstring> DesktopFolder() override {
    Log(L"desktop");
    if (throwFromDesktop) throw Failure(*throwFromDesktop, L"SHGetSpecialFolderPathA");
    return desktop;
  }
  std::wstring MakerFolder() override { return Log(L"folder"), makerFolder; }
  LauncherChoice Launcher() override { return Log(L"launcher"), launcher; }
  std::wstring AskShortcutName(const std::wstring& offered) override {
    return Log(offered.empty() ? L"ask" : L"ask " + offered), enter ? offered : answer;
  }
  void ShowMakeFailure(MakeMessage m) override { Log(L"show " + std::to_wstring(int(m))); }
  void ShowMessage(const MessageText& m) override { Log(L"say " + m.text); }
  // é stands for a character the code page lacks, ¥ for a look-alike.
  bool HeldByCodePage(const std::wstring& text, LookAlikes lookAlikes) override {
    if (text.find(L'\u00E9') != std::wstring::npos) return false;
    return lookAlikes == LookAlikes::Accepted || text.find(L'\u00A5') == std::wstring::npos;
  }
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
    std::wstring pending = L"";  // in the text box, not added
    Answer addFirst = Answer::Yes;
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
      {"entry not held", {L"/b:a", L"/w:caf\u00E9.exe"}, L"C:\\D", L"C:\\T", kPro, L"n", true,
       {L"entries", L"say " + std::wstring(kEntryRefused)}},
      {"yen typed in an entry", {L"/b:C:\u00A5a.exe"}, L"C:\\D", L"C:\\T", kPro, L"n", true,
       then({L"link"}), L"C:\\D\\n.lnk", L"C:\\T\\kelmoPro.exe", L" /b:C:\u00A5a.exe"},
      {"desktop outside the code page", {L"a"}, L"C:\\D\u00A5x\u00E9", L"C:\\T", kPro, L"n", true,
       then({L"link"}), L"C:\\D\u00A5x\u00E9\\n.lnk", L"C:\\T\\kelmoPro.exe", L" a"},
      {"target not held", {L"a"}, L"C:\\D", L"C:\\caf\u00E9", kPro, L"n", true,
       {L"entries", L"desktop", L"folder", L"launcher",
        L"say " + std::wstring(kTargetRefused)}},
      {"pending, Yes", {L"/b:a"}, L"C:\\D", L"C:\\T", kPro, L"n", true,
       {L"entries", L"add?", L"add /w:b", L"desktop", L"folder", L"launcher", L"ask", L"link"},
       L"C:\\D\\n.lnk", L"C:\\T\\kelmoPro.exe", L" /b:a /w:b", L"/w:b"},
      {"pending, No", {L"/b:a"}, L"C:\\D", L"C:\\T", kPro, L"n", true,
       {L"entries", L"add?", L"desktop", L"folder", L"launcher", L"ask", L"link"},
       L"C:\\D\\n.lnk", L"C:\\T\\kelmoPro.exe", L" /b:a", L"/w:b", Answer::No},
      {"pending, Cancel", {L"/b:a"}, L"C:\\D", L"C:\\T", kPro, L"n", true, {L"entries", L"add?"},
       nullptr, nullptr, nullptr, L"/w:b", Answer::Cancel},
      {"pending, in the list", {L"/w:b", L"/b:a"}, L"C:\\D", L"C:\\T", kPro, L"n", true,
       then({L"link"}), L"C:\\D\\n.lnk", L"C:\\T\\kelmoPro.exe", L" /w:b /b:a", L"/w:b"},
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
    p.pending = r.pending;
    p.addFirst = r.addFirst;
    OpenedGroupState group;
    RunMake(p, group);
    EXPECT_EQ(p.log, r.log);
    if (!r.lnk) continue;
    ShellLinkRequest want;  // work folder and icon file empty, icon index 0
    want.settings.showCmd = 5;
    want.settings.description = L"Linked by kelmoCM";
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
  OpenedGroupState group;
  try {
    RunMake(p, group);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), kMissingFunction);
  }
  EXPECT_EQ(p.log, (Texts{L"entries", L"desktop"}));
}

// The name offered and the shortcut written by a make, after the steps a
// user can take between opening a group and making it. Only Enter on the
// offered name, or a name that lands on it, saves over the group's own file;
// a copy has no hot key. A launcher moved away is the maker's.
TEST(RunMakeTest, AnOpenedGroupKeepsItsShortcutAndOffersItsNameUntilTheListIsEmptied) {
  constexpr auto kStd = LauncherChoice::Standard;
  constexpr auto kPro = LauncherChoice::KelmoPro;
  OpenedGroup a{kPro, {L"/b:a"}, L"A;", {}, L"C:\\Start\\A;.lnk"};
  a.contents.target = L"D:\\Tools\\kelmoPro.exe";
  a.contents.settings.workDir = L"D:\\Work";
  a.contents.settings.iconFile = L"C:\\i.ico";
  a.contents.settings.iconIdx = 3;
  a.contents.settings.showCmd = 7;
  a.contents.settings.hotkey = 0x0641;
  a.contents.settings.description = L"ゲーム";
  a.contents.settings.runAsAdministrator = true;
  OpenedGroup b{kStd, {L"\"b\""}, L"B", {}, L"C:\\D\\B.lnk"};
  b.contents.target = L"E:\\kelmo.exe";
  b.contents.settings.hotkey = 0x0642;
  enum Step { OpenA, OpenB, Clear, MadeAsN, FailedMake, SavedByEnter };
  const struct {
    const char* name;
    std::vector<Step> steps;
    LauncherChoice launcher;
    const wchar_t* ask;  // the prompt's call in the log, with the name offered
    const OpenedGroup* kept;
    const wchar_t* exe;
    const wchar_t* saves = nullptr;  // the file saved over (by Enter on the offered name)
    std::uint16_t hotkey = 0;
    const wchar_t* typed = nullptr;  // a name typed instead of Enter
    Texts missing = {};
  } rows[] = {
      {"new group", {}, kPro, L"ask", nullptr, L"C:\\T\\kelmoPro.exe"},
      {"opened", {OpenA}, kPro, L"ask A;", &a, L"D:\\Tools\\kelmoPro.exe"},
      // clang-format off
      {"opened, Enter", {OpenA}, kPro, L"ask A;", &a, L"D:\\Tools\\kelmoPro.exe", L"C:\\Start\\A;.lnk",
       0x0641},
      // clang-format on
      {"opened, launcher changed", {OpenA}, kStd, L"ask A;", &a, L"D:\\Tools\\kelmo.exe"},
      {"opened, cleared", {OpenA, Clear}, kPro, L"ask", nullptr, L"C:\\T\\kelmoPro.exe"},
      {"replaced by another open", {OpenA, OpenB}, kStd, L"ask B", &b, L"E:\\kelmo.exe"},
      {"another open changed over", {OpenA, OpenB}, kPro, L"ask B", &b, L"E:\\kelmoPro.exe"},
      {"made", {MadeAsN}, kStd, L"ask n", nullptr, L"C:\\T\\kelmo.exe"},
      {"opened, copied as n", {OpenA, MadeAsN}, kPro, L"ask n", &a, L"D:\\Tools\\kelmoPro.exe"},
      // clang-format off
      {"copied as n, Enter", {OpenA, MadeAsN}, kPro, L"ask n", &a, L"D:\\Tools\\kelmoPro.exe",
       L"C:\\D\\n.lnk"},
      // clang-format on
      {"opened, failed make", {OpenA, FailedMake}, kPro, L"ask A;", &a, L"D:\\Tools\\kelmoPro.exe"},
      {"made, cleared", {MadeAsN, Clear}, kPro, L"ask", nullptr, L"C:\\T\\kelmoPro.exe"},
      // clang-format off
      {"saved by Enter, Enter", {OpenA, SavedByEnter}, kPro, L"ask A;", &a, L"D:\\Tools\\kelmoPro.exe",
       L"C:\\Start\\A;.lnk", 0x0641},
      {"its name typed in lower case", {OpenB}, kStd, L"ask B", &b, L"E:\\kelmo.exe", L"C:\\D\\b.lnk",
       0x0642, L"b"},
      {"its launcher gone", {OpenA}, kPro, L"ask A;", &a, L"C:\\T\\kelmoPro.exe", nullptr, 0, nullptr,
       {L"D:\\Tools\\kelmoPro.exe"}},
      {"no launcher anywhere", {OpenA}, kPro, L"ask A;", &a, L"D:\\Tools\\kelmoPro.exe", nullptr, 0,
       nullptr, {L"D:\\Tools\\kelmoPro.exe", L"C:\\T\\kelmoPro.exe"}},
      // clang-format on
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    OpenedGroupState group;
    for (const Step step : r.steps) {
      FakePlatform earlier;
      earlier.answer = L"n";
      earlier.created = step != FailedMake;
      earlier.enter = step == SavedByEnter;
      if (step == OpenA) group.Opened(a);
      if (step == OpenB) group.Opened(b);
      if (step == Clear) group.Forget();
      if (step >= MadeAsN) RunMake(earlier, group);
    }
    FakePlatform p;
    p.launcher = r.launcher;
    p.enter = r.saves != nullptr && r.typed == nullptr;
    if (r.typed) p.answer = r.typed;
    p.missing = r.missing;
    RunMake(p, group);
    ASSERT_EQ(p.log.size(), 6u);
    EXPECT_EQ(p.log[4], r.ask);
    ShellLinkRequest want;
    if (r.kept) want.settings = r.kept->contents.settings;
    want.settings.hotkey = r.hotkey;
    want.lnkFile = r.saves ? r.saves : L"C:\\D\\name.lnk";
    want.exeFile = r.exe;
    want.exeArgs = L" /b:a";
    ASSERT_TRUE(p.request.has_value());
    EXPECT_TRUE(*p.request == want) << p.request->exeFile << "|" << p.request->settings.workDir;
  }

  // The limit counts the target written: the opened one, not the maker's.
  OpenedGroupState group;
  OpenedGroup far = a;
  far.contents.target = L"D:\\" + std::wstring(230, L'x') + L"\\kelmoPro.exe";
  group.Opened(far);
  FakePlatform p;
  RunMake(p, group);
  EXPECT_EQ(p.log.back(), L"show 2");
  far.contents.target = L"C:\\caf\u00E9\\kelmoPro.exe";
  group.Opened(far);
  FakePlatform refused;
  RunMake(refused, group);
  EXPECT_EQ(refused.log.back(), L"say " + std::wstring(kTargetRefused));
}

}  // namespace
}  // namespace kelmo
