// What a save costs: one file (F5) and a pair (F7), each over earlier files; a pair saved into a
// folder holding N abandoned temporaries and N / 20 damaged records of a megabyte that name the
// pair, all of which the save clears, against the same save into an empty folder; and a key's
// work beside N records that stay.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/file_replacement.h"
#include "platform/save_names.h"
#include "tests/support/sealed_record.h"

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

// One key's work (F8's: the folder held and settled, and what holds the pair back asked) beside
// N records of the player's saves of the pair that can repair nothing: each stopped between its
// renames, with hidden files of its own that are read whole, as their sizes are right, but hold
// other bytes. Past the number of sums the game keeps, each key reads them all again.
void KeyBesideRecords(benchmark::State& state) {
  char pattern[] = "/tmp/quor-save-bench-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  const std::string newSar(2048, 'n'), oldSar(2048, 'o'), newRep(512, 'N'), oldRep(512, 'O');
  std::ofstream(folder + "/pair.sar", std::ios::binary) << newSar;
  std::ofstream(folder + "/pair.rep", std::ios::binary) << oldRep;
  using testing_support::FilePrint;
  const std::string lines = "706169722e736172 " + FilePrint(newSar) + " " + FilePrint(oldSar) +
                            "\n706169722e726570 " + FilePrint(newRep) + " " + FilePrint(oldRep) +
                            "\n",
                    text = testing_support::SealedRecord(lines),
                    role = platform::save_names::RecordRole({"pair.sar", "pair.rep"});
  for (int i = 0; i < state.range(0); ++i) {
    const std::string id = platform::save_names::NewId();
    std::ofstream(folder + "/" + platform::save_names::Make(id, role), std::ios::binary) << text;
    std::ofstream(folder + "/" + platform::save_names::Make(id, "new1"), std::ios::binary)
        << std::string(newRep.size(), 'x');
    std::ofstream(folder + "/" + platform::save_names::Make(id, "kept0"), std::ios::binary)
        << std::string(oldSar.size(), 'x');
  }
  for (auto _ : state) {
    const auto held = platform::SettledFolder::Hold(folder + "/pair.rep");
    benchmark::DoNotOptimize(held->WhyHeldBack({folder + "/pair.rep", folder + "/pair.sar"}));
  }
  if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) state.SkipWithError("rm failed");
}

BENCHMARK(KeyBesideRecords)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(17000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
