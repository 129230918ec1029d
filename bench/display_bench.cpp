// The cost of a whole 640 x 480 frame: the master map's view copied to the back buffer,
// then 100, 300 or 1000 keyed sprites (half of them mirrored), then presented to memory.
// Each run reports its frame as a share of the 16 ms frame budget ("budget" = 1 is the
// whole budget); the translucent case shows what a blended sprite costs against a plain one.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/bench_display.h"
#include "engine/display/display.h"
#include "engine/display/translucent_blit.h"

namespace {

using platform::PixelRect;
using platform::Surface;

struct Display : bench::FullScreenDisplay {
  explicit Display(uint32_t bits) : FullScreenDisplay(bits) {
    map = quor::CreateOffscreenSurface(1280, 960);
    for (int y = 0; y < 960; y += 16)
      for (int x = 0; x < 1280; x += 16) {
        PixelRect r{x, y, x + 16, y + 16};
        map->Fill(&r, map->MatchColor(platform::ColorRef(uint8_t(x / 5), uint8_t(y / 4), uint8_t((x + y) / 9))));
      }
    sprite = quor::CreateOffscreenSurface(32, 32);
    sprite->SetColorKey(sprite->MatchColor(0x00FF00));
    sprite->Fill(nullptr, sprite->MatchColor(0x00FF00));
    PixelRect body{4, 2, 28, 30};
    sprite->Fill(&body, sprite->MatchColor(0x2060C0));
  }
  ~Display() {
    map.reset();
    sprite.reset();
  }

  void DrawFrame(int sprites, int frame, bool translucent) {
    PixelRect view{frame % 640, (frame / 2) % 480, frame % 640 + 640, (frame / 2) % 480 + 480};
    quor::BackBuffer->Blit(nullptr, *map, &view);
    for (int i = 0; i < sprites; ++i) {
      int x = (i * 37 + frame) % 660 - 10, y = (i * 53) % 500 - 10;
      if (translucent) {
        quor::TranslucentBlit(quor::BackBuffer, x, y, 100, sprite.get(), nullptr, 50, true);
      } else {
        PixelRect at{x, y, x + 32, y + 32};
        uint32_t flags = platform::BlitKeySource | (i % 2 ? uint32_t(platform::BlitMirrorLeftRight) : 0u);
        quor::BackBuffer->Blit(&at, *sprite, nullptr, flags);
      }
    }
    quor::PresentFrame();
  }

  std::unique_ptr<Surface> map, sprite;
};

void Frame(benchmark::State& state, uint32_t bits, bool translucent) {
  Display display(bits);
  int frame = 0;
  for (auto _ : state) display.DrawFrame(int(state.range(0)), frame++, translucent);
  bench::ReportBudgetShare(state);
}

void Frame16(benchmark::State& state) { Frame(state, 16, false); }
void Frame32(benchmark::State& state) { Frame(state, 32, false); }
void TranslucentFrame16(benchmark::State& state) { Frame(state, 16, true); }

BENCHMARK(Frame16)->Arg(0)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Frame32)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(TranslucentFrame16)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
