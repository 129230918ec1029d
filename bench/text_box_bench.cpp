// The cost of drawing text boxes as a frame does: every character measured and drawn
// alone. Compare the story box against the frame-rate box, and both against the frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/display/display.h"
#include "engine/display/variable.h"
#include "platform/headless/headless_host.h"

namespace {

struct Screen {
  Screen() {
    platform::InstallHost(&host);
    surface = platform::Surface::Create(640, 480, platform::PixelFormat::Rgb565());
    saved = quor::BackBuffer;
    quor::BackBuffer = surface.get();
  }
  ~Screen() {
    quor::BackBuffer = saved;
    platform::InstallHost(nullptr);
  }
  platform::HeadlessHost host;
  std::unique_ptr<platform::Surface> surface;
  platform::Surface* saved = nullptr;
};

void StoryBox(benchmark::State& state) {
  Screen screen;
  quor::Variable box;
  box.SetFontFace("Lucida Bright");
  box.SetFontWidth(0);
  box.SetFontSize(15);
  box.SetFontWeight(600);
  box.SetTextColor(0x0000FF);
  box.SetRect(20, 40, 640, 480);
  box.SetKeepLeadingSpaces(1);
  box.SetText(
      "Long ago the dungeon beneath the hill was sealed.\\nNow its doors stand open, and the "
      "hero must find the keys, the items and the way down to the last of its rooms.");
  for (auto _ : state) box.Draw();
}
BENCHMARK(StoryBox);

void FrameRateBox(benchmark::State& state) {
  Screen screen;
  quor::Variable box;
  box.SetTextColor(0x00F500);
  box.SetFontFace("Impact");
  box.SetFontWeight(0);
  box.SetFontWidth(6);
  box.SetFontSize(10);
  box.SetRect(270, 0, 370, 40);
  box.SetLetterSpacing(2);
  box.SetText("FPS = 60");
  for (auto _ : state) box.Draw();
}
BENCHMARK(FrameRateBox);

void ScrollingBox(benchmark::State& state) {
  Screen screen;
  quor::Variable box;
  box.SetDrawMode(4);
  box.SetShowFrame(1);
  box.SetRect(20, 120, 300, 250);
  box.SetText("A line that is wider than its box and scrolls\\nsecond\\nthird\\nfourth\\nfifth");
  for (auto _ : state) box.Draw();
}
BENCHMARK(ScrollingBox);

}  // namespace
