// Feeds arbitrary text to the launch command line parser, to the
// program-text split and to kelmo.exe's reading of its entries, and checks
// what every plan must satisfy. Bytes are read as 16-bit units (as Windows
// hands the command line over); units from a small alphabet of grammar
// characters are mixed in so items form often.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/group_entries.h"
#include "launcher/image_subsystem.h"
#include "launcher/launch_command_line.h"
#include "launcher/split_exe_args.h"
#include "launcher/standard_command_line.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::wstring WideText(const std::uint8_t* data, std::size_t size) {
  static constexpr wchar_t kGrammar[] = L" /:abtcwdhimnoxgprABTCWDHIMNOXGPR0123456789\"\\.";
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const unsigned unit = data[i] | (data[i + 1] << 8);
    text += (unit & 0x8000) ? static_cast<wchar_t>(unit & 0x7fff)
                            : kGrammar[unit % (sizeof(kGrammar) / sizeof(wchar_t) - 1)];
  }
  return text;
}

void CheckEntry(const kelmo::PlanEntry& entry) {
  Check(entry.graceSeconds >= 0 && entry.graceSeconds <= kelmo::kMaxGraceSeconds);
  Check(entry.pauseSeconds >= 0 && entry.pauseSeconds <= kelmo::kMaxGraceSeconds);
  const int mode = entry.showMode;
  Check(mode == 0 || mode == 1 || mode == 2 || mode == 3 || mode == 4 || mode == 7 || mode == 10);
  Check(!entry.byName || (!entry.wholeTree && !entry.untilReady && entry.pauseSeconds == 0));
  if (!entry.programText.empty()) {
    Check(entry.programText.front() != L' ' && entry.programText.back() != L' ');
  }
  Check(entry.programText.find(L" /") == std::wstring::npos);

  const kelmo::ExeArgs split = kelmo::SplitExeArgs(entry.programText);
  Check(split.file.size() <= entry.programText.size());
  if (split.parameters) {
    Check(split.parameters->empty() ||
          (split.parameters->front() != L' ' && split.parameters->back() != L' '));
    Check(split.file.size() + split.parameters->size() <= entry.programText.size());
  }
}

// kelmo.exe's programs: at most one per entry, each with a file, its
// parameters trimmed. Which paths exist is decided by their length, so that
// both the existing beginning and the first-blank cut are taken.
void CheckStandardPrograms(const std::wstring& text) {
  const auto exists = [](const std::wstring& path) { return path.size() % 3 == 0; };
  const std::vector<kelmo::ExeArgs> programs = kelmo::ReadStandardCommandLine(text, exists);
  Check(programs.size() <= kelmo::StandardEntries(text).size());
  for (const kelmo::ExeArgs& program : programs) {
    Check(!program.file.empty() && program.file.size() <= text.size());
    if (!program.parameters) continue;
    Check(!program.parameters->empty() && program.parameters->front() != L' ' &&
          program.parameters->back() != L' ');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Any bytes may stand at the start of a program file.
  kelmo::ImageSubsystem(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::wstring text = WideText(data, size);
  CheckStandardPrograms(text);
  const auto plan = kelmo::ParseLaunchCommandLine(text);
  Check(plan.has_value() == !kelmo::IsBlankCommandLine(text));
  Check(kelmo::IsBlankCommandLine(text) == (text.find_first_not_of(L' ') == std::wstring::npos));
  if (!plan) return 0;

  std::size_t entries = 0;
  for (const auto* list : {&plan->before, &plan->terminate, &plan->close, &plan->after}) {
    for (const auto& entry : *list) CheckEntry(entry);
    entries += list->size();
  }
  if (plan->waited) CheckEntry(*plan->waited);
  // Only terminate and close entries carry a grace, only before and after
  // entries a pause; the waited entry never waits for readiness, and a
  // before or after entry is a tree only when it is held.
  const auto& w = plan->waited;
  if (w) Check(w->graceSeconds == 0 && w->pauseSeconds == 0 && !w->untilReady);
  if (w) Check(w->byName || w->appearSeconds == 0);
  for (const auto& entry : plan->terminate) Check(entry.pauseSeconds == 0);
  for (const auto& entry : plan->close) Check(entry.pauseSeconds == 0);
  for (const auto* list : {&plan->before, &plan->after}) {
    for (const auto& e : *list)
      Check(!e.graceSeconds && !e.byName && !e.appearSeconds &&
            (!e.wholeTree || e.pauseSeconds || e.untilReady));
  }
  // Every entry comes from its own piece, and pieces are cut at " /".
  std::size_t separators = 0;
  for (std::size_t at = text.find(L" /"); at != std::wstring::npos; at = text.find(L" /", at + 2)) {
    ++separators;
  }
  Check(entries <= separators + 1);

  kelmo::ArgumentText(text);
  return 0;
}
