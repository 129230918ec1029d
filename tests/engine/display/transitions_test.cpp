#include "engine/display/transitions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/pixel_writer.h"
#include "platform/headless/headless_host.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

// A full-screen 640 x 480 x 32 display on a headless host; the display and random state are
// put back afterwards.
class TransitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    savedWindowed = Windowed;
    savedRandom = RandomState();
    Open(640, 480, 32, 0);
  }
  void TearDown() override {
    ReleaseGraphics();
    SetScreenMode(640, 480, 16);
    Windowed = savedWindowed;
    SeedRandom(savedRandom);
    platform::InstallHost(nullptr);
  }
  void Open(uint32_t w, uint32_t h, uint32_t bpp, uint8_t windowed) {
    ReleaseGraphics();
    SetScreenMode(w, h, bpp);
    Windowed = windowed;
    ASSERT_TRUE(InitGraphics());
    ASSERT_NE(BackBuffer, nullptr);
    Clear();
  }
  void Clear() { BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0)); }
  bool Painted(int x, int y, uint32_t color) const {
    return BackBuffer->GetPixel(x, y) == BackBuffer->MatchColor(color);
  }
  int CountPainted(uint32_t color) const {
    int n = 0;
    for (int y = 0; y < BackBuffer->Height(); ++y)
      for (int x = 0; x < BackBuffer->Width(); ++x) n += Painted(x, y, color);
    return n;
  }
  uint16_t ShownRed(int i) const { return host.video.GetGammaRamp().red[i]; }

  platform::HeadlessHost host;
  uint8_t savedWindowed = 0;
  uint32_t savedRandom = 1;
  testing_support::TempDir dir;
};

// --- GammaRamp ---

TEST_F(TransitionTest, GammaRampGivesUpInAWindow) {
  Open(640, 480, 32, 1);
  ASSERT_EQ(GammaControl, nullptr);
  GammaRamp fade;
  fade.Start(GammaRamp::FadeIn, 10);
  EXPECT_TRUE(fade.IsActive());
  fade.Step();
  EXPECT_FALSE(fade.IsActive());
  EXPECT_EQ(fade.mode, GammaRamp::Idle);
  EXPECT_EQ(fade.restore, 1);
  EXPECT_TRUE(host.video.GetGammaRamp().IsIdentity());
}

TEST_F(TransitionTest, GammaFadeInRisesToTheIdentityThenResets) {
  ASSERT_NE(GammaControl, nullptr);
  GammaRamp fade;
  EXPECT_TRUE(fade.savedRamp.IsIdentity());
  fade.Start(GammaRamp::FadeIn, 4);
  for (int step = 1; step <= 4; ++step) {
    fade.Step();
    EXPECT_TRUE(fade.IsActive());
    EXPECT_EQ(fade.counter, step);
    EXPECT_EQ(ShownRed(255), uint16_t(float(255 * step) * (255.0f / 4)));
    EXPECT_EQ(ShownRed(0), 0);
    EXPECT_EQ(host.video.GetGammaRamp().blue[100], uint16_t(float(100 * step) * (255.0f / 4)));
  }
  EXPECT_EQ(ShownRed(255), 65025);
  fade.Step();
  EXPECT_FALSE(fade.IsActive());
  EXPECT_TRUE(host.video.GetGammaRamp().IsIdentity());
}

TEST_F(TransitionTest, GammaFadeOutHoldsAndMayStayDark) {
  for (uint8_t restore : {uint8_t(0), uint8_t(1)}) {
    host.video.SetGammaRamp(platform::GammaTable::Identity());
    GammaRamp fade;
    fade.Start(GammaRamp::FadeOut, 4, 2, restore);
    std::vector<uint16_t> shown;
    int steps = 0;
    while (fade.IsActive() && steps < 20) {
      fade.Step();
      ++steps;
      shown.push_back(ShownRed(255));
    }
    // Darker ramps for counters 3, 2, 1; then held until the counter passes 6.
    EXPECT_EQ(steps, 8);
    EXPECT_EQ(shown[0], uint16_t(float(255 * 3) * (255.0f / 4)));
    EXPECT_EQ(shown[2], uint16_t(float(255 * 1) * (255.0f / 4)));
    EXPECT_EQ(shown[6], shown[2]);
    if (restore) {
      EXPECT_TRUE(host.video.GetGammaRamp().IsIdentity());
    } else {
      EXPECT_EQ(ShownRed(255), uint16_t(float(255) * (255.0f / 4)));
    }
  }
}

TEST_F(TransitionTest, GammaWaitWritesNothingAndOvershootStaysBright) {
  GammaRamp wait;
  host.video.SetGammaRamp(platform::GammaTable{});  // all dark: a write would show
  wait.Start(GammaRamp::Wait, 3);
  int steps = 0;
  while (wait.IsActive() && steps < 20) {
    wait.Step();
    if (wait.IsActive()) {
      EXPECT_EQ(ShownRed(255), 0);
    }
    ++steps;
  }
  EXPECT_EQ(steps, 5);
  EXPECT_TRUE(host.video.GetGammaRamp().IsIdentity());  // the reset writes the saved ramp

  // A scale that overshoots 16 bits keeps the top entries at full brightness.
  GammaRamp fade;
  fade.Start(GammaRamp::FadeIn, 2);
  fade.scale = 300;
  fade.Step();
  fade.Step();
  EXPECT_EQ(ShownRed(255), 65535);
  EXPECT_EQ(ShownRed(100), 60000);
  EXPECT_EQ(ShownRed(50), 30000);
}

// --- OpenClose ---

TEST_F(TransitionTest, BarsCloseFromTheSides) {
  OpenClose wipe;
  wipe.Start(OpenClose::BarsCloseSides, 0x0000FF, 4, 1);
  EXPECT_FLOAT_EQ(wipe.step, 80);
  wipe.Step();
  EXPECT_TRUE(Painted(0, 0, 0x0000FF));
  EXPECT_TRUE(Painted(79, 479, 0x0000FF));
  EXPECT_FALSE(Painted(80, 240, 0x0000FF));
  EXPECT_FALSE(Painted(559, 240, 0x0000FF));
  EXPECT_TRUE(Painted(560, 240, 0x0000FF));
  EXPECT_EQ(CountPainted(0x0000FF), 2 * 80 * 480);
  for (int i = 0; i < 3; ++i) wipe.Step();
  EXPECT_EQ(CountPainted(0x0000FF), 640 * 480);
  // Closed while the counter runs on to hold + duration + 1, then idle and drawing nothing.
  wipe.Step();
  wipe.Step();
  EXPECT_EQ(wipe.counter, 6);
  EXPECT_TRUE(wipe.IsActive());
  Clear();
  wipe.Step();
  EXPECT_FALSE(wipe.IsActive());
  EXPECT_EQ(wipe.style, OpenClose::Idle);
  EXPECT_EQ(wipe.color, 0xFFFFFFu);
  EXPECT_EQ(CountPainted(0x0000FF), 0);
}

TEST_F(TransitionTest, OpeningBarsUseTheirOwnCountersAndEnds) {
  // Sides: the unclamped counter, idle after the duration.
  OpenClose sides;
  sides.Start(OpenClose::BarsOpenSides, 0x00FF00, 4, 5);
  EXPECT_EQ(sides.hold, 0);
  sides.Step();
  EXPECT_TRUE(Painted(239, 0, 0x00FF00));
  EXPECT_FALSE(Painted(240, 0, 0x00FF00));
  EXPECT_FALSE(Painted(399, 0, 0x00FF00));
  EXPECT_TRUE(Painted(400, 0, 0x00FF00));
  int steps = 1;
  while (sides.IsActive()) sides.Step(), ++steps;
  EXPECT_EQ(steps, 6);

  // Top and bottom: the counter clamped to the duration, idle after hold + duration.
  Clear();
  OpenClose tb;
  tb.Start(OpenClose::BarsOpenTopBottom, 0x00FF00, 4, 2);
  for (int i = 0; i < 5; ++i) tb.Step();
  EXPECT_EQ(tb.counter, 5);
  Clear();
  tb.Step();
  tb.Step();  // counter 7, still drawn as at 4: the screen open
  EXPECT_TRUE(tb.IsActive());
  EXPECT_EQ(CountPainted(0x00FF00), 0);
  tb.Step();
  EXPECT_FALSE(tb.IsActive());
}

TEST_F(TransitionTest, RectangleAndCircleWipes) {
  OpenClose rect;
  rect.Start(OpenClose::RectangleCloses, 0xFFFFFF, 4, 1);
  rect.Step();  // inner rectangle (80, 60) - (560, 420) left alone
  EXPECT_TRUE(Painted(79, 240, 0xFFFFFF));
  EXPECT_FALSE(Painted(80, 60, 0xFFFFFF));
  EXPECT_TRUE(Painted(320, 59, 0xFFFFFF));
  EXPECT_FALSE(Painted(559, 419, 0xFFFFFF));
  EXPECT_TRUE(Painted(560, 419, 0xFFFFFF));
  EXPECT_EQ(CountPainted(0xFFFFFF), 640 * 480 - 480 * 360);

  Clear();
  OpenClose opens;
  opens.Start(OpenClose::RectangleOpens, 0xFFFFFF, 4);
  opens.Step();  // hole (240, 180) - (400, 300)
  EXPECT_EQ(CountPainted(0xFFFFFF), 640 * 480 - 160 * 120);
  EXPECT_FALSE(Painted(240, 180, 0xFFFFFF));
  EXPECT_TRUE(Painted(400, 300, 0xFFFFFF));

  Clear();
  OpenClose circle;
  circle.Start(OpenClose::CircleCloses, 0xFF0000, 4, 1);
  EXPECT_FLOAT_EQ(circle.radius, 400);
  circle.Step();  // a circle of radius 300 about the centre stays open
  EXPECT_TRUE(Painted(0, 0, 0xFF0000));
  EXPECT_FALSE(Painted(320, 240, 0xFF0000));
  EXPECT_FALSE(Painted(320, 0, 0xFF0000));
  EXPECT_TRUE(Painted(320 + 220, 240 + 220, 0xFF0000));
  EXPECT_NEAR(CountPainted(0xFF0000), 640 * 480 - (3.14159265 * 300 * 300 - 2 * (300 * 300 * std::acos(0.8) - 240 * 180)), 800);
  for (int i = 0; i < 3; ++i) circle.Step();
  EXPECT_EQ(CountPainted(0xFF0000), 640 * 480);

  Clear();
  OpenClose hole;
  hole.Start(OpenClose::CircleOpens, 0xFF0000, 4);
  hole.Step();  // radius 100 open about the centre
  EXPECT_FALSE(Painted(320, 240, 0xFF0000));
  EXPECT_FALSE(Painted(320, 141, 0xFF0000));
  EXPECT_TRUE(Painted(320, 139, 0xFF0000));
  EXPECT_NEAR(CountPainted(0xFF0000), 640 * 480 - 3.14159265 * 100 * 100, 200);
}

TEST_F(TransitionTest, AStyleWithoutActiveRedrawsForeverAndABusyBufferSkipsTheDrawing) {
  OpenClose wipe;
  wipe.style = OpenClose::BarsCloseSides;
  wipe.step = 10;
  wipe.duration = 5;
  wipe.counter = 2;
  for (int i = 0; i < 100; ++i) wipe.Step();
  EXPECT_EQ(wipe.counter, 2);
  EXPECT_EQ(wipe.style, OpenClose::BarsCloseSides);
  EXPECT_FALSE(wipe.IsActive());
  EXPECT_EQ(CountPainted(0xFFFFFF), 2 * 20 * 480);

  Clear();
  wipe.active = 1;
  platform::LockedPixels memory;
  ASSERT_EQ(BackBuffer->Lock(memory), platform::SurfaceResult::Ok);
  wipe.Step();
  BackBuffer->Unlock();
  EXPECT_EQ(wipe.counter, 3);
  EXPECT_EQ(CountPainted(0xFFFFFF), 0);
  // An idle style draws nothing and never changes.
  OpenClose idle;
  idle.Step();
  EXPECT_EQ(CountPainted(0xFFFFFF), 0);
}

// --- RandomDissolve ---

TEST_F(TransitionTest, DissolveCoversEveryCellOnceInTheSequenceOrder) {
  RandomDissolve dissolve;
  ASSERT_EQ(dissolve.columns, 128);
  ASSERT_EQ(dissolve.rows, 96);
  SeedRandom(12345);
  dissolve.Start(RandomDissolve::FixedColor, 0x00FFFF, 500, 1000, 0);

  // The first cell is the first try that lands inside the grid.
  uint32_t state = 12345;
  auto draw = [&state] {
    state = state * 214013u + 2531011u;
    return int32_t((state >> 16) & 0x7FFF);
  };
  int firstX, firstY;
  do {
    firstX = int32_t(float(draw() * 129) * (1.0f / 32767.0f));
    firstY = int32_t(float(draw() * 97) * (1.0f / 32767.0f));
  } while (firstX >= 128 || firstY >= 96);

  int covered = 0, steps = 0;
  while (covered < 128 * 96 && steps < 200) {
    dissolve.Step();
    ++steps;
    int now = 0;
    for (uint8_t c : dissolve.grid) now += c;
    EXPECT_LE(now - covered, 500);
    EXPECT_GT(now, covered);
    covered = now;
    if (steps == 1) {
      EXPECT_EQ(now, 500);  // an empty grid has room for every new cell
      EXPECT_TRUE(dissolve.Covered(firstX, firstY));
      EXPECT_EQ(CountPainted(0x00FFFF), 500 * 25);
      for (int col = 0; col < 128; ++col)
        for (int row = 0; row < 96; ++row)
          ASSERT_EQ(Painted(5 * col + 2, 5 * row + 2, 0x00FFFF), dissolve.Covered(col, row));
    }
  }
  EXPECT_EQ(covered, 128 * 96);
  EXPECT_EQ(CountPainted(0x00FFFF), 640 * 480);

  // A full grid spends 50 tries, two draws each, on every new cell.
  uint32_t before = RandomState();
  for (int i = 0; i < 500 * 50 * 2; ++i) NextRandom();
  uint32_t expected = RandomState();
  SeedRandom(before);
  dissolve.Step();
  EXPECT_EQ(RandomState(), expected);
  EXPECT_EQ(dissolve.counter, steps + 1);
}

TEST_F(TransitionTest, DissolveColourModesDrawPerBlock) {
  RandomDissolve dissolve;
  SeedRandom(7);
  dissolve.Start(RandomDissolve::RandomColors, 0, 1, 10, 0);
  dissolve.Step();
  int col = -1, row = -1;
  for (int c = 0; c < 128; ++c)
    for (int r = 0; r < 96; ++r)
      if (dissolve.Covered(c, r)) col = c, row = r;
  ASSERT_GE(col, 0);
  // Redrawn with new draws each frame: red, green, blue in that order.
  dissolve.cellsPerFrame = 0;
  for (uint32_t seed : {5u, 6u}) {
    SeedRandom(seed);
    int32_t r = int32_t(float(NextRandom()) * (255.0f / 32767.0f));
    int32_t g = int32_t(float(NextRandom()) * (255.0f / 32767.0f));
    int32_t b = int32_t(float(NextRandom()) * (255.0f / 32767.0f));
    SeedRandom(seed);
    dissolve.Step();
    platform::Image shown = BackBuffer->ReadImage();
    for (int dx = 0; dx < 5; ++dx)
      for (int dy = 0; dy < 5; ++dy)
        EXPECT_EQ(shown.At(5 * col + dx, 5 * row + dy), platform::ColorRef(uint8_t(r), uint8_t(g), uint8_t(b)));
    EXPECT_EQ(CountPainted(0), 640 * 480 - 25);
  }

  // Greys: one draw per block.
  Clear();
  RandomDissolve greys;
  greys.Start(RandomDissolve::RandomGreys, 0, 3, 10, 0);
  greys.Step();
  int grey = 0;
  platform::Image shown = BackBuffer->ReadImage();
  for (uint32_t c : shown.colors)
    if (c != 0) {
      EXPECT_EQ(platform::RedOf(c), platform::GreenOf(c));
      EXPECT_EQ(platform::RedOf(c), platform::BlueOf(c));
      ++grey;
    }
  EXPECT_LE(grey, 3 * 25);
}

TEST_F(TransitionTest, DissolveHoldsThenClearsAndLeavesAnOddEdgeAlone) {
  Open(643, 480, 32, 0);
  RandomDissolve dissolve;
  EXPECT_EQ(dissolve.columns, 128);
  SeedRandom(99);
  dissolve.Start(RandomDissolve::FixedColor, 0xFFFFFF, 128 * 96, 2, 3);
  int steps = 0;
  while (dissolve.IsActive() && steps < 20) dissolve.Step(), ++steps;
  EXPECT_EQ(steps, 7);
  for (int y = 0; y < 480; ++y)
    for (int x = 640; x < 643; ++x) ASSERT_FALSE(Painted(x, y, 0xFFFFFF));
  EXPECT_EQ(dissolve.colorMode, RandomDissolve::Idle);
  EXPECT_EQ(dissolve.color, 0xFFFFFFu);  // the colour stays
  for (uint8_t c : dissolve.grid) ASSERT_EQ(c, 0);
  // Without its active flag it neither draws nor covers.
  dissolve.cellsPerFrame = 10;
  dissolve.duration = 5;
  Clear();
  dissolve.Step();
  EXPECT_EQ(CountPainted(0xFFFFFF), 0);
}

TEST_F(TransitionTest, DissolveDrawsInTheBackBuffersOwnLayout) {
  // 5-6-5: each channel keeps its top bits.
  Open(640, 480, 16, 0);
  RandomDissolve dissolve;
  dissolve.Start(RandomDissolve::FixedColor, 0x123456, 1, 5);
  dissolve.Step();
  const uint32_t expected565 = (0x56u >> 3) << 11 | (0x34u >> 2) << 5 | (0x12u >> 3);
  int blocks = 0;
  for (int c = 0; c < 128; ++c)
    for (int r = 0; r < 96; ++r)
      if (dissolve.Covered(c, r)) {
        ++blocks;
        EXPECT_EQ(BackBuffer->GetPixel(5 * c + 4, 5 * r + 4), expected565);
      }
  EXPECT_EQ(blocks, 1);

  // A window draws at the desktop's depth, whatever depth full screen would have.
  host.video.desktopBitsPerPixel = 32;
  Open(640, 480, 16, 1);
  ASSERT_EQ(BackBuffer->Format().bitsPerPixel, 32);
  RandomDissolve windowed;
  windowed.Start(RandomDissolve::FixedColor, 0x123456, 3, 5);
  windowed.Step();
  EXPECT_EQ(CountPainted(0x123456), 3 * 25);

  // A lost back buffer takes no pixels; the dissolve still moves on.
  Clear();
  BackBuffer->MarkLost();
  windowed.Step();
  EXPECT_EQ(windowed.counter, 2);
  BackBuffer->Restore();
  EXPECT_EQ(CountPainted(0x123456), 0);
  windowed.Step();
  EXPECT_EQ(CountPainted(0x123456), 9 * 25);
}

// --- Saved records ---

std::vector<unsigned char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

TEST_F(TransitionTest, RecordsHaveTheirLayouts) {
  GammaRamp fade;
  fade.Start(GammaRamp::FadeOut, 8, 3, 0);
  OpenClose wipe;
  wipe.Start(OpenClose::CircleCloses, 0x123456, 10, 2);
  RandomDissolve dissolve;
  dissolve.Start(RandomDissolve::RandomGreys, 0xABCDEF, 7, 9, 4);
  {
    ObjectStream out(dir.File("t.bin"), true);
    fade.Save(out);
    wipe.Save(out);
    dissolve.Save(out);
    ASSERT_TRUE(out.Good());
  }
  std::vector<unsigned char> bytes = FileBytes(dir.File("t.bin"));
  const size_t gammaSize = 16 + 1 + 1536 + 4 + 1, wipeSize = 16 + 1 + 16 + 4, dissolveSize = 12 + 128 * 96 + 16 + 1 + 4;
  ASSERT_EQ(bytes.size(), gammaSize + wipeSize + dissolveSize);
  auto u32 = [&bytes](size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 | uint32_t(bytes[at + 3]) << 24;
  };
  EXPECT_EQ(u32(0), 2u);   // mode
  EXPECT_EQ(u32(8), 3u);   // hold
  EXPECT_EQ(u32(12), 8u);  // duration
  EXPECT_EQ(bytes[16], 1);
  EXPECT_EQ(bytes[17 + 2 * 255] | bytes[18 + 2 * 255] << 8, 65025);  // working ramp, red 255
  EXPECT_EQ(bytes[gammaSize - 1], 0);                                // restore
  EXPECT_EQ(u32(gammaSize), 0x123456u);
  EXPECT_EQ(u32(gammaSize + 4), 6u);
  EXPECT_EQ(u32(gammaSize + wipeSize - 4), 2u);  // hold
  size_t d = gammaSize + wipeSize;
  EXPECT_EQ(u32(d), 128u);
  EXPECT_EQ(u32(d + 4), 96u);
  EXPECT_EQ(u32(d + 8), 7u);
  EXPECT_EQ(u32(d + 12 + 128 * 96), 0xABCDEFu);
  EXPECT_EQ(u32(d + dissolveSize - 4), 2u);
}

TEST_F(TransitionTest, LoadedTransitionsContinueWhereTheyWere) {
  SeedRandom(4242);
  GammaRamp fade;
  fade.Start(GammaRamp::FadeIn, 6);
  OpenClose wipe;
  wipe.Start(OpenClose::RectangleCloses, 0x00FF00, 6, 2);
  RandomDissolve dissolve;
  dissolve.Start(RandomDissolve::RandomColors, 0, 40, 6, 2);
  for (int i = 0; i < 3; ++i) fade.Step(), wipe.Step(), dissolve.Step();
  {
    ObjectStream out(dir.File("mid.sav"), true);
    fade.Save(out);
    wipe.Save(out);
    dissolve.Save(out);
  }
  GammaRamp fade2;
  OpenClose wipe2;
  RandomDissolve dissolve2;
  {
    ObjectStream in(dir.File("mid.sav"), false);
    fade2.Load(in);
    wipe2.Load(in);
    dissolve2.Load(in);
    ASSERT_TRUE(in.Good());
  }
  EXPECT_EQ(dissolve2.grid, dissolve.grid);
  EXPECT_EQ(wipe2.counter, 3);
  uint32_t state = RandomState();
  int steps = 0;
  for (;;) {
    SeedRandom(state);
    fade.Step(), wipe.Step(), dissolve.Step();
    platform::Image first = BackBuffer->ReadImage();
    platform::GammaTable ramp = host.video.GetGammaRamp();
    Clear();
    SeedRandom(state);
    fade2.Step(), wipe2.Step(), dissolve2.Step();
    state = RandomState();
    ASSERT_EQ(BackBuffer->ReadImage().colors, first.colors) << steps;
    const platform::GammaTable shownRamp = host.video.GetGammaRamp();
    ASSERT_EQ(0, std::memcmp(&ramp, &shownRamp, sizeof ramp)) << steps;
    EXPECT_EQ(fade2.IsActive(), fade.IsActive());
    EXPECT_EQ(wipe2.IsActive(), wipe.IsActive());
    EXPECT_EQ(dissolve2.IsActive(), dissolve.IsActive());
    EXPECT_EQ(dissolve2.grid, dissolve.grid);
    Clear();
    ++steps;
    if (!fade2.IsActive() && !wipe2.IsActive() && !dissolve2.IsActive()) break;
    ASSERT_LT(steps, 50);
  }
  // 3 steps before the save and 7 after: the wipe and the dissolve run hold + duration + 1
  // steps and end at the next.
  EXPECT_EQ(steps, 7);
}

TEST_F(TransitionTest, BadRecordsLeaveTheTransitionsAlone) {
  auto write = [this](std::vector<uint32_t> longs, size_t gridBytes) {
    std::ofstream out(dir.File("bad.bin"), std::ios::binary);
    for (uint32_t v : longs) out.write(reinterpret_cast<const char*>(&v), 4);
    std::vector<char> grid(gridBytes, 1);
    out.write(grid.data(), grid.size());
  };
  RandomDissolve dissolve;
  dissolve.Start(RandomDissolve::FixedColor, 0x0000FF, 5, 10, 0);
  dissolve.Step();
  const std::vector<uint8_t> before = dissolve.grid;
  // A grid of another size than the display's.
  for (std::vector<uint32_t> head : {std::vector<uint32_t>{129, 96, 5}, std::vector<uint32_t>{128, 97, 5},
                                     std::vector<uint32_t>{0x7FFFFFFF, 0x7FFFFFFF, 5},
                                     std::vector<uint32_t>{128, 96, 128 * 96 + 1}}) {
    write(head, 128 * 96);
    ObjectStream in(dir.File("bad.bin"), false);
    dissolve.Load(in);
    EXPECT_FALSE(in.Good());
    EXPECT_EQ(dissolve.columns, 128);
    EXPECT_EQ(dissolve.cellsPerFrame, 5);
    EXPECT_EQ(dissolve.grid, before);
    EXPECT_TRUE(dissolve.IsActive());
  }
  // A record cut short.
  write({128, 96, 1}, 100);
  {
    ObjectStream in(dir.File("bad.bin"), false);
    dissolve.Load(in);
    EXPECT_FALSE(in.Good());
    EXPECT_EQ(dissolve.grid, before);
    EXPECT_EQ(dissolve.cellsPerFrame, 5);
  }
  write({0x1234, 5, 1, 2}, 0);
  {
    GammaRamp fade;
    OpenClose wipe;
    ObjectStream in(dir.File("bad.bin"), false);
    wipe.Load(in);
    EXPECT_FALSE(in.Good());
    EXPECT_EQ(wipe.style, OpenClose::Idle);
    EXPECT_EQ(wipe.color, 0xFFFFFFu);
    fade.Load(in);
    EXPECT_EQ(fade.mode, GammaRamp::Idle);
  }
}

TEST(TransitionClasses, AreRegisteredAndIdleWhenMade) {
  for (const char* name : {"GammaRamp", "OpenClose", "RandomDissolve"}) {
    Node* node = CreateObjectByName(name);
    ASSERT_NE(node, nullptr) << name;
    EXPECT_STREQ(node->GetClassRecord().name, name);
    Node* copy = node->Clone();
    EXPECT_STREQ(copy->GetClassRecord().name, name);
    delete copy;
    delete node;
  }
  GammaRamp fade;
  OpenClose wipe;
  RandomDissolve dissolve;
  EXPECT_FALSE(fade.IsActive() || wipe.IsActive() || dissolve.IsActive());
  // Unknown styles and modes would never end: they do not start.
  fade.Start(3, 10);
  wipe.Start(8, 0, 10);
  EXPECT_FALSE(fade.IsActive() || wipe.IsActive());
  EXPECT_EQ(fade.mode, -1);
  EXPECT_EQ(wipe.style, -1);
  EXPECT_EQ(dissolve.colorMode, -1);
}

}  // namespace
}  // namespace quor
