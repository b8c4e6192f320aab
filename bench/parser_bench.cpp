// Cost of reading launch command lines of 1, 8 and 32 KB (the Windows
// command-line limit is 32767 characters). The per-KB figure must stay flat.
#include <benchmark/benchmark.h>

#include <string>

#include "launcher/launch_command_line.h"
#include "launcher/split_exe_args.h"

namespace {

// A realistic mix of items, repeated until the text has `size` characters.
std::wstring CommandLineOfSize(std::size_t size) {
  const std::wstring items[] = {L" /b:C:\\Windows\\notepad.exe C:\\memo.txt",
                                L" /tx:helper.exe -quiet",
                                L" /ci:\"C:\\Program Files\\Tool\\tool.exe\" /s",
                                L" /wm:game.exe -fullscreen",
                                L" /an:backup.exe D:\\save",
                                L" /bo:メモ帳.exe 日本語.txt"};
  std::wstring text;
  for (std::size_t i = 0; text.size() < size; ++i) text += items[i % 6];
  text.resize(size);
  return text;
}

void BM_ParseLaunchCommandLine(benchmark::State& state) {
  const std::wstring text = CommandLineOfSize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    auto plan = kelmo::ParseLaunchCommandLine(text);
    benchmark::DoNotOptimize(plan);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ParseLaunchCommandLine)
    ->Arg(1024)
    ->Arg(8 * 1024)
    ->Arg(32767)
    ->Unit(benchmark::kMicrosecond);

void BM_SplitEveryEntry(benchmark::State& state) {
  const auto plan = kelmo::ParseLaunchCommandLine(CommandLineOfSize(32767));
  for (auto _ : state) {
    for (const auto& entry : plan->before)
      benchmark::DoNotOptimize(kelmo::SplitExeArgs(entry.programText));
  }
}
BENCHMARK(BM_SplitEveryEntry)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
