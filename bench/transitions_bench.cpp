// The cost of the screen transitions' frame work on a 640 x 480 back buffer, as a share of
// the 16 ms frame budget ("budget" = 1 is the whole budget): the dissolve redraws every
// covered block pixel by pixel each frame, so its worst frame is a full grid; the wipes fill
// a region built from a rectangle or an ellipse.
#include <benchmark/benchmark.h>

#include "bench/bench_display.h"
#include "engine/core/engine_globals.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/transitions.h"

namespace {

using Display = bench::FullScreenDisplay;

void Budget(benchmark::State& state) { bench::ReportBudgetShare(state); }

// A full grid in random colours: every block redrawn with three draws each.
void DissolveFullGrid(benchmark::State& state) {
  Display display(uint32_t(state.range(0)));
  quor::RandomDissolve dissolve;
  quor::SeedRandom(1);
  dissolve.Start(quor::RandomDissolve::RandomColors, 0, 0, 1 << 30, 0);
  for (uint8_t& cell : dissolve.grid) cell = 1;
  for (auto _ : state) dissolve.Step();
  Budget(state);
}

// A wipe halfway through: the screen less a rectangle or a circle.
void Wipe(benchmark::State& state) {
  Display display(16);
  quor::OpenClose wipe;
  wipe.Start(int32_t(state.range(0)), 0xFFFFFF, 1 << 30);
  wipe.counter = 1 << 29;
  wipe.active = 0;  // the same picture every frame
  for (auto _ : state) wipe.Step();
  Budget(state);
}

BENCHMARK(DissolveFullGrid)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(Wipe)->Arg(0)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond);

}  // namespace
