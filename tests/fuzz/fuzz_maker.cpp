// Drives the maker's portable logic with arbitrary input: entry composition,
// a sequence of list-button presses, name cleaning, an entry's grace and tree,
// and the make sequence. Wide text is built from 16-bit units so the same
// corpus means the same text where wchar_t is 16 or 32 bits wide.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/text_util.h"
#include "launcher/launch_command_line.h"
#include "maker/entry_options.h"
#include "maker/item_composer.h"
#include "maker/item_list.h"
#include "maker/opened_group.h"
#include "maker/shortcut_make.h"

namespace {

using kelmo::LauncherChoice;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Mostly short texts over a small alphabet, so spaces, slashes and removed
// name characters turn up often; sometimes any 16-bit unit.
std::wstring ConsumeWide(FuzzedDataProvider& in) {
  static constexpr wchar_t kAlphabet[] = L" /:\\\"?*|<>,;ab.\x3000\x30e1";
  const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 24);
  std::wstring text;
  for (std::size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
    const auto unit = in.ConsumeIntegral<std::uint16_t>();
    text += (unit & 0x8000) ? static_cast<wchar_t>(unit & 0x7fff)
                            : kAlphabet[unit % (sizeof(kAlphabet) / sizeof(wchar_t) - 1)];
  }
  return text;
}

bool IsForbiddenInName(wchar_t c) {
  return c < 0x20 || c == 0xAD || c == 0x61C || (c >= 0x2060 && c <= 0x2064) ||
         std::wstring_view(L"\\/:,;*?\"<>|").find(c) != std::wstring_view::npos;
}

// Every surrogate in `name` is half of a pair.
bool SurrogatesPaired(const std::wstring& name) {
  const auto unit = [&](std::size_t i) { return static_cast<std::uint32_t>(name[i]); };
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) return false;
    if (unit(i) < 0xD800 || unit(i) > 0xDBFF) continue;
    if (i + 1 == name.size() || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF) return false;
    ++i;
  }
  return true;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> v) {
  std::sort(v.begin(), v.end());
  return v;
}

void CheckComposer(FuzzedDataProvider& in) {
  kelmo::ComposerInput input;
  input.launcher = in.ConsumeBool() ? LauncherChoice::KelmoPro : LauncherChoice::Standard;
  for (bool& t : input.timing) t = in.ConsumeBool();
  for (bool& s : input.size) s = in.ConsumeBool();
  input.programText = ConsumeWide(in);
  const std::wstring entry = kelmo::ComposeEntry(input);
  if (kelmo::TrimSpaces(input.programText).empty()) return Check(entry.empty());
  if (input.launcher == LauncherChoice::Standard) {
    return Check(entry == L"\"" + input.programText + L"\"");
  }
  const std::size_t prefix = entry.size() - input.programText.size();
  Check(entry.size() > input.programText.size() && prefix <= 4);
  Check(entry.compare(prefix, std::wstring::npos, input.programText) == 0);
  // ["/" timing letter] [size letter] ":"
  Check(entry[prefix - 1] == L':' && (prefix < 3 || entry[0] == L'/'));
}

void CheckListButtons(FuzzedDataProvider& in) {
  kelmo::ItemListModel list;
  int steps = in.ConsumeIntegralInRange(0, 64);
  while (steps-- > 0 && in.remaining_bytes() > 0) {
    const std::vector<std::wstring> before = list.Items();
    const int selBefore = list.Selection();
    if (in.ConsumeIntegralInRange(0, 3) == 0) {
      list.SetSelection(in.ConsumeIntegralInRange(-2, list.Count() + 1));
      continue;
    }
    const int button = in.ConsumeIntegralInRange(-1, 5);
    const std::wstring composed = ConsumeWide(in);
    bool cleared = false;
    kelmo::ApplyListButton(
        list, button, [&] { return composed; }, [&] { cleared = true; });

    const int count = list.Count();
    const int sel = list.Selection();
    Check(count >= 0 && count == static_cast<int>(list.Items().size()));
    Check(sel == -1 || (sel >= 0 && sel < count));
    Check(cleared == (button == 0 && !composed.empty()));
    std::vector<std::wstring> expected = before;
    if (cleared) expected.push_back(composed);
    if (button == 1 && selBefore >= 0) expected.erase(expected.begin() + selBefore);
    if (button == 4) expected.clear();
    Check(Sorted(list.Items()) == Sorted(expected));
    if ((button == 2 || button == 3) && sel != selBefore) {
      Check(sel == selBefore + (button == 2 ? -1 : 1) && list.Text(sel) == before[selBefore]);
    }
    if (button == 1 && selBefore >= 0) Check((sel == -1) == (count == 0));
  }
}

void CheckName(FuzzedDataProvider& in) {
  const std::wstring name = kelmo::CleanShortcutName(ConsumeWide(in));
  Check(std::none_of(name.begin(), name.end(), IsForbiddenInName));
  Check(SurrogatesPaired(name));
  Check(name.empty() || (name.front() != L' ' && name.back() != L' '));
  Check(kelmo::CleanShortcutName(name) == name);
}

// The one plan entry the launcher makes of a list entry, whatever its list.
std::optional<kelmo::PlanEntry> LauncherEntry(const std::wstring& entry) {
  const auto plan = kelmo::ParseLaunchCommandLine(L" " + entry);
  if (!plan) return std::nullopt;
  for (const auto* list : {&plan->before, &plan->terminate, &plan->close, &plan->after}) {
    if (!list->empty()) return list->front();
  }
  return plan->waited;
}

// An entry's grace and tree: the rewrites keep everything from the first
// colon on, give what was asked or leave the entry as it was, and the typed
// seconds stay within the cap. On an entry as the list holds one, the maker
// reads what the launcher reads, and its changes keep the launcher's timing,
// size and program text.
void CheckEntryOptions(FuzzedDataProvider& in) {
  static constexpr wchar_t kLetters[] = L"/:cwtbaxmngGrRpPhH0159 \\";
  std::wstring entry;
  const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 16);
  for (std::size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
    entry += kLetters[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kLetters) - 2)];
  }
  const int seconds = in.ConsumeIntegralInRange(-10, 5000);
  const bool tree = in.ConsumeBool();
  const bool ready = in.ConsumeBool();
  const bool hide = in.ConsumeBool();
  const bool name = in.ConsumeBool();
  const auto options = kelmo::ReadEntryOptions(entry);
  const std::wstring graced = kelmo::WithSeconds(entry, seconds).value_or(entry);
  const std::wstring treed = kelmo::WithWholeTree(graced, tree).value_or(graced);
  const std::wstring changed = kelmo::WithUntilReady(treed, ready).value_or(treed);
  // A change never makes the launcher cut the entry where it did not before.
  Check(entry.find(L" /") != std::wstring::npos || changed.find(L" /") == std::wstring::npos);
  if (!entry.empty() && entry.front() == L'/' && entry.find(L" /") == std::wstring::npos) {
    const auto launcher = LauncherEntry(entry);
    Check(options.has_value() == launcher.has_value());
    if (launcher) {
      Check((options->graceApplies ? options->seconds : 0) == launcher->graceSeconds);
      Check((options->pauseApplies ? options->seconds : 0) == launcher->pauseSeconds);
      Check((options->readyApplies && options->untilReady) == launcher->untilReady);
      Check((options->treeApplies && options->wholeTree) == launcher->wholeTree);
      Check((options->byNameApplies && options->byName) == launcher->byName);
      Check(options->hidden == (launcher->showMode == 0));
      const auto after = LauncherEntry(changed);
      Check(after && after->programText == launcher->programText &&
            after->showMode == launcher->showMode);
    }
  }
  if (!options) return Check(changed == entry);
  Check(options->seconds >= 0 && options->seconds <= 3600);
  const std::size_t colon = entry.find(L':');
  Check(changed.compare(changed.find(L':'), std::wstring::npos, entry, colon) == 0);
  const auto reread = kelmo::ReadEntryOptions(changed);
  Check(reread.has_value());
  Check(graced == entry || reread->seconds == std::clamp(seconds, 0, 3600));
  Check(treed == graced || reread->wholeTree == tree);
  Check(changed == treed || reread->untilReady == ready);
  const auto treeOnly = kelmo::ReadEntryOptions(kelmo::WithWholeTree(entry, tree).value_or(entry));
  Check(treeOnly && treeOnly->seconds == options->seconds);
  const auto readyOnly =
      kelmo::ReadEntryOptions(kelmo::WithUntilReady(entry, ready).value_or(entry));
  Check(readyOnly && readyOnly->seconds == options->seconds);
  const auto hidden = kelmo::WithHidden(entry, hide);
  const auto hiddenOnly = kelmo::ReadEntryOptions(hidden.value_or(entry));
  Check(hiddenOnly && hiddenOnly->seconds == options->seconds &&
        (!hidden || hiddenOnly->hidden == hide));
  const auto named = kelmo::WithByName(entry, name);
  const auto namedOnly = kelmo::ReadEntryOptions(named.value_or(entry));
  Check(namedOnly && namedOnly->seconds == options->seconds &&
        (!named || namedOnly->byName == name));

  const auto typed = kelmo::ParseSeconds(ConsumeWide(in));
  Check(!typed || (*typed >= 0 && *typed <= 3600));
}

// Answers the make sequence from the input and checks what it would write.
class FuzzPlatform : public kelmo::MakePlatform {
 public:
  explicit FuzzPlatform(FuzzedDataProvider& in) : in_(in) {}
  std::vector<std::wstring> Entries() override {
    std::vector<std::wstring> entries(in_.ConsumeIntegralInRange(0, 12));
    for (std::wstring& e : entries) e = ConsumeWide(in_);
    return entries;
  }
  std::wstring PendingEntry() override { return in_.ConsumeBool() ? ConsumeWide(in_) : L""; }
  kelmo::Answer AskYesNoCancel(const kelmo::MessageText&) override {
    return static_cast<kelmo::Answer>(in_.ConsumeIntegralInRange(0, 2));
  }
  void AddEntry(const std::wstring&) override {}
  bool FileExists(const std::wstring&) override { return in_.ConsumeBool(); }
  std::optional<std::wstring> DesktopFolder() override {
    if (in_.ConsumeBool()) return std::nullopt;
    return ConsumeWide(in_);
  }
  std::wstring MakerFolder() override { return ConsumeWide(in_); }
  LauncherChoice Launcher() override {
    return in_.ConsumeBool() ? LauncherChoice::KelmoPro : LauncherChoice::Standard;
  }
  std::wstring AskShortcutName(const std::wstring& offered) override {
    return in_.ConsumeBool() ? offered : ConsumeWide(in_);
  }
  void ShowMakeFailure(kelmo::MakeMessage) override { ++messages; }
  void ShowMessage(const kelmo::MessageText&) override { ++messages; }
  bool HeldByCodePage(const std::wstring&, kelmo::LookAlikes) override { return in_.ConsumeBool(); }
  bool CreateShellLink(const kelmo::ShellLinkRequest& r) override {
    Check(r.exeArgs.size() + r.exeFile.size() <= kelmo::kMaxArgumentsAndTarget);
    Check(r.lnkFile.size() > 5 && r.lnkFile.compare(r.lnkFile.size() - 4, 4, L".lnk") == 0);
    Check(r.exeFile.size() >= 9 && r.exeFile.find(L"\\kelmo") != std::wstring::npos);
    ++links;
    lnkFile = r.lnkFile;
    made = in_.ConsumeBool();
    return made;
  }
  int messages = 0;
  int links = 0;
  bool made = false;
  std::wstring lnkFile;

 private:
  FuzzedDataProvider& in_;
};

// Makes of a new or an opened group, twice: a make that wrote the shortcut
// leaves its name as the one offered next.
void CheckMake(FuzzedDataProvider& in) {
  kelmo::OpenedGroupState group;
  if (in.ConsumeBool()) {
    kelmo::OpenedGroup opened;
    opened.launcher = in.ConsumeBool() ? LauncherChoice::KelmoPro : LauncherChoice::Standard;
    opened.name = ConsumeWide(in);
    opened.contents.target = ConsumeWide(in) + L"\\" + kelmo::LauncherFileName(opened.launcher);
    opened.file = ConsumeWide(in) + L"\\" + opened.name + L".lnk";
    group.Opened(opened);
  }
  for (int round = 0; round < 2; ++round) {
    FuzzPlatform platform(in);
    kelmo::RunMake(platform, group);
    Check(platform.messages <= 1 && platform.links <= 1);
    if (platform.made) {
      Check(platform.lnkFile.size() >= group.OfferedName().size() + 5);
      Check(platform.lnkFile.compare(platform.lnkFile.size() - group.OfferedName().size() - 5,
                                     std::wstring::npos,
                                     L"\\" + group.OfferedName() + L".lnk") == 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  CheckComposer(in);
  CheckName(in);
  CheckListButtons(in);
  CheckMake(in);
  CheckEntryOptions(in);
  return 0;
}
