// What the display benchmarks share: a full-screen display of a chosen depth on the tests'
// host, and the report of a frame's cost as a share of the 16 ms frame budget.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "platform/headless/headless_host.h"

namespace bench {

struct FullScreenDisplay {
  explicit FullScreenDisplay(uint32_t bits) {
    platform::InstallHost(&host);
    savedWindowed = quor::Windowed;
    quor::Windowed = 0;
    quor::SetScreenMode(640, 480, bits);
    quor::InitGraphics();
  }
  ~FullScreenDisplay() {
    quor::ReleaseGraphics();
    quor::SetScreenMode(640, 480, 16);
    quor::Windowed = savedWindowed;
    platform::InstallHost(nullptr);
  }
  platform::HeadlessHost host;
  uint8_t savedWindowed = 0;
};

// Seconds per iteration over the 16 ms budget: "budget" = 1 is the whole budget.
inline void ReportBudgetShare(benchmark::State& state) {
  state.counters["budget"] =
      benchmark::Counter(double(state.iterations()) * 0.016,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace bench
