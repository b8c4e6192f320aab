// Opening a group with arbitrary argument strings: cutting them into entries
// never fails, no entry is empty, the entries join back to the argument string
// (leading spaces aside), and for kelmoPro each entry is one piece of the
// launcher's cut: read one by one, the entries give the launcher's own plan.
// The same bytes, read as the start of a shortcut file, and the same text,
// taken apart as a path, never fail either, nor a dropped program's text.
// Wide text is built from 16-bit units so the same corpus means the same text
// where wchar_t is 16 or 32 bits wide.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/text_util.h"
#include "launcher/launch_command_line.h"
#include "launcher/split_exe_args.h"
#include "maker/item_composer.h"
#include "maker/path_parts.h"
#include "maker/shortcut_make.h"
#include "maker/shortcut_open.h"
#include "maker/wow64_paths.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Mostly the characters the cut and the grammar look at, sometimes any unit.
std::wstring ConsumeArguments(FuzzedDataProvider& in) {
  static constexpr wchar_t kAlphabet[] = L"  //::\"\"bwtcaBWdxmnio.e\x3000";
  std::wstring text;
  while (in.remaining_bytes() > 0) {
    const auto unit = in.ConsumeIntegral<std::uint16_t>();
    text += (unit & 0x8000) ? static_cast<wchar_t>(unit & 0x7fff)
                            : kAlphabet[unit % (sizeof(kAlphabet) / sizeof(wchar_t) - 1)];
  }
  return text;
}

std::wstring Normalized(const std::wstring& arguments) {
  const std::size_t first = arguments.find_first_not_of(L' ');
  return first == std::wstring::npos ? std::wstring() : L" " + arguments.substr(first);
}

void Append(std::vector<kelmo::PlanEntry>& to, const std::vector<kelmo::PlanEntry>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

bool SamePlan(const kelmo::LaunchPlan& a, const kelmo::LaunchPlan& b) {
  return a.before == b.before && a.terminate == b.terminate && a.close == b.close &&
         a.waited == b.waited && a.after == b.after;
}

void CheckEntries(const std::vector<std::wstring>& entries, const std::wstring& arguments) {
  for (const std::wstring& entry : entries) Check(!entry.empty());
  Check(kelmo::BuildArgumentString(entries) == Normalized(arguments));
}

// The file name and the extension end `path`, the folder starts it, and
// putting the file name back gives `path` again.
void CheckPathParts(const std::wstring& path) {
  const std::wstring_view name = kelmo::FileNameOf(path);
  const std::wstring_view folder = kelmo::FolderOf(path);
  const std::wstring_view extension = kelmo::ExtensionOf(path);
  Check(path.size() >= name.size() &&
        path.compare(path.size() - name.size(), name.size(), name) == 0);
  Check(path.compare(0, folder.size(), folder) == 0 &&
        folder.size() + name.size() <= path.size() + 1);
  Check(name.size() >= extension.size() && (extension.empty() || extension.front() == L'.'));
  Check(kelmo::WithFileName(path, name) == path);
}

// `text` cut at `at` into a path (without the quotes and slashes no file name
// has) and its arguments; its WOW64 forms are made too.
void CheckDroppedProgram(const std::wstring& text, std::size_t at) {
  std::wstring path = kelmo::TrimSpaces(text.substr(0, at));
  path.erase(
      std::remove_if(path.begin(), path.end(), [](wchar_t c) { return c == L'"' || c == L'/'; }),
      path.end());
  const std::wstring arguments = text.substr(at);
  const kelmo::ProcessEnvironment wow64{true, path, arguments, arguments};
  Check(kelmo::WithSysnative(text, wow64).size() <= text.size() + 1);
  kelmo::With64BitProgramFolders(text, wow64);
  if (path.empty() || kelmo::ArgumentsCutByKelmoPro(arguments)) return;
  const auto plan = kelmo::ParseLaunchCommandLine(L" /b:" + kelmo::ProgramTextFor(path, arguments));
  Check(plan && plan->before.size() == 1);
  const kelmo::ExeArgs split = kelmo::SplitExeArgs(plan->before[0].programText);
  Check(split.file == path && split.parameters.value_or(L"") == kelmo::TrimSpaces(arguments));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<kelmo::ShortcutHeader> header =
      kelmo::ParseShortcutHeader(std::string_view(reinterpret_cast<const char*>(data), size));
  Check(!header || size >= kelmo::kShortcutHeaderSize);
  FuzzedDataProvider in(data, size);
  const std::wstring arguments = ConsumeArguments(in);
  CheckPathParts(arguments);
  CheckDroppedProgram(arguments, size % (arguments.size() + 1));

  CheckEntries(kelmo::StandardEntries(arguments), arguments);
  const std::vector<std::wstring> entries = kelmo::KelmoProEntries(arguments);
  CheckEntries(entries, arguments);

  const std::optional<kelmo::LaunchPlan> whole = kelmo::ParseLaunchCommandLine(arguments);
  Check(whole.has_value() == !entries.empty());
  if (!whole) return 0;
  kelmo::LaunchPlan joined;
  for (const std::wstring& entry : entries) {
    Check(entry.find(L" /") == std::wstring::npos);
    const std::optional<kelmo::LaunchPlan> one = kelmo::ParseLaunchCommandLine(entry);
    if (!one) continue;
    Check(one->before.size() + one->terminate.size() + one->close.size() + one->after.size() +
              (one->waited ? 1 : 0) <=
          1);
    Append(joined.before, one->before);
    Append(joined.terminate, one->terminate);
    Append(joined.close, one->close);
    Append(joined.after, one->after);
    if (!joined.waited) joined.waited = one->waited;
  }
  Check(SamePlan(joined, *whole));
  return 0;
}
