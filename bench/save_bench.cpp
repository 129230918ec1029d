// What a save costs: one file (F5) and a pair (F7), each over earlier files; and a pair saved
// into a folder holding N abandoned temporaries and N / 20 damaged records of a megabyte that
// name the pair, all of which the save clears, against the same save into an empty folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/file_replacement.h"
#include "platform/save_names.h"

namespace {

void Write(const std::string& path, size_t size) {
  std::ofstream(path, std::ios::binary) << std::string(size, 'x');
}

void SaveFiles(benchmark::State& state) {
  char pattern[] = "/tmp/quor-save-bench-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  const std::vector<uint8_t> bytes(64 * 1024, 7);
  for (auto _ : state) {
    platform::FileReplacement save;
    save.Write(folder + "/pair.sar", bytes);
    if (state.range(0) > 1) save.Write(folder + "/pair.rep", bytes);
    benchmark::DoNotOptimize(save.Commit());
  }
  if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) state.SkipWithError("rm failed");
}

BENCHMARK(SaveFiles)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void SaveBesideLeftovers(benchmark::State& state) {
  char pattern[] = "/tmp/quor-save-bench-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  const std::vector<uint8_t> bytes(64 * 1024, 7);
  const int leftovers = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < leftovers; ++i)
      Write(folder + "/" + platform::save_names::Make(platform::save_names::NewId(), "new0"), 100);
    for (int i = 0; i < leftovers / 20; ++i)
      Write(folder + "/" +
                platform::save_names::Make(
                    platform::save_names::NewId(),
                    platform::save_names::RecordRole({"pair.sar", "pair.rep"})),
            1 << 20);
    state.ResumeTiming();
    platform::FileReplacement save;
    save.Write(folder + "/pair.sar", bytes);
    save.Write(folder + "/pair.rep", bytes);
    benchmark::DoNotOptimize(save.Commit());
  }
  if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) state.SkipWithError("rm failed");
}

BENCHMARK(SaveBesideLeftovers)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
