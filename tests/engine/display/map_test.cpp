#include "engine/display/map.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/variable.h"
#include "engine/display/view_port.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "platform/headless/headless_host.h"
#include "platform/surface.h"
#include "../../support/temp_dir.h"
#include "../../support/file_bytes.h"

namespace quor {
namespace {

// Each pixel of a test bitmap tells where it came from: red = x, green = y.
uint32_t PixelColor(int x, int y) { return platform::ColorRef(uint8_t(x), uint8_t(y), 0x80); }

using testing_support::Put16;
using testing_support::Put32;

// A 24-bit bottom-up bitmap file of w x h PixelColor pixels.
void WriteBitmap(const std::string& path, int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b{'B', 'M'};
  Put32(b, 54 + uint32_t(stride * h));
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, uint32_t(w));
  Put32(b, uint32_t(h));
  Put16(b, 1);
  Put16(b, 24);
  for (int i = 0; i < 6; ++i) Put32(b, i == 1 ? uint32_t(stride * h) : 0);
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(size_t(stride), 0);
    for (int x = 0; x < w; ++x) {
      const uint32_t c = PixelColor(x, y);
      row[3 * x] = platform::BlueOf(c);
      row[3 * x + 1] = platform::GreenOf(c);
      row[3 * x + 2] = platform::RedOf(c);
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
}

// A 64 x 48 display (32 bits, so colours come back exactly) and a scene with a view of
// the same size; the globals the maps touch are put back afterwards.
class MapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    mkdir(dir.File("BITMAPS").c_str(), 0755);
    savedWindowed = Windowed;
    savedQuit = QuitRequested;
    savedPaused = Paused;
    savedScene = CurrentGameNode;
    Windowed = 0;
    QuitRequested = 0;
    Paused = 0;
    SetScreenMode(64, 48, 32);
    ASSERT_TRUE(InitGraphics());
    scene = new GameNode;
    scene->width = 64;
    scene->height = 48;
    scene->viewPort = ViewPort(64, 48, 0, 0, 64, 48);
    CurrentGameNode = scene;
  }
  void TearDown() override {
    CurrentGameNode = savedScene;
    delete scene;
    ReleaseGraphics();
    SetScreenMode(640, 480, 16);
    Windowed = savedWindowed;
    QuitRequested = savedQuit;
    Paused = savedPaused;
    platform::InstallHost(nullptr);
  }
  void Bitmap(const char* name, int w, int h) {
    WriteBitmap(dir.File(std::string("BITMAPS/") + name), w, h);
  }
  // Clears the back buffer, draws the map and returns what the back buffer shows.
  platform::Image Draw(Map& map) {
    BackBuffer->Fill(nullptr, 0);
    map.Render();
    return BackBuffer->ReadImage();
  }
  // The last message box, as "caption|text".
  std::string LastBox() const {
    if (host.messageBoxes.empty()) return "";
    return host.messageBoxes.back().caption + "|" + host.messageBoxes.back().text;
  }

  testing_support::TempDir dir;
  platform::HeadlessHost host;
  GameNode* scene = nullptr;
  GameNode* savedScene = nullptr;
  uint8_t savedWindowed = 0, savedQuit = 0, savedPaused = 0;
};

// Every screen pixel shows the bitmap pixel at (x + mx, y + my) taken modulo the size.
void ExpectTiled(const platform::Image& screen, int w, int h, int mx, int my) {
  for (int y = 0; y < screen.height; ++y)
    for (int x = 0; x < screen.width; ++x)
      ASSERT_EQ(screen.At(x, y), PixelColor((x + mx) % w, (y + my) % h))
          << "screen " << x << "," << y << " offset " << mx << "," << my;
}

TEST_F(MapTest, KindRulesAcceptAndRefuseWithTheirTexts) {
  Bitmap("View.bmp", 64, 48);
  Bitmap("Narrow.bmp", 63, 48);
  Bitmap("Big.bmp", 80, 60);
  Bitmap("Tall.bmp", 64, 60);

  Map master("M", "View.bmp", MasterMap, 0, 5, 5);
  EXPECT_EQ(master.GetDisplay(), Map::Display::Master);
  EXPECT_TRUE(master.IsMasterMap());
  EXPECT_STREQ(PaletteName, "View.bmp");
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(QuitRequested, 0);

  Map narrow("N", "Narrow.bmp", MasterMap, 0, 0, 0);
  EXPECT_EQ(narrow.GetDisplay(), Map::Display::None);
  EXPECT_EQ(LastBox(),
            "Master map error .|The bitmap file Narrow.bmp to be a master map must have its "
            "width >= viewport width \nand its height >= viewport height .");
  EXPECT_EQ(host.messageBoxes.back().icon, platform::MessageBoxIcon::Stop);
  EXPECT_EQ(QuitRequested, 1);
  EXPECT_NE(narrow.GetSurface(), nullptr);  // the loaded bitmap stays with the map

  QuitRequested = 0;
  Map wrapped("W", "Big.bmp", WrappedMap, 0, 0, 0);
  EXPECT_EQ(LastBox(), "Wrapped map error .|You must use the big wrapped map for Big.bmp .");
  Map continuous("C", "Big.bmp", ContinuousWrappedMap, 0, 0, 0);
  EXPECT_EQ(LastBox(),
            "Continuous wrapped map error .|You must use the big wrapped map for Big.bmp .");
  Map bigEqual("B", "Tall.bmp", BigWrappedMap, 0, 0, 0);
  EXPECT_EQ(LastBox(),
            "Big wrapped map error .|The width of the Tall.bmp must be > viewport width \n"
            "and the height must be  > viewport height .");
  EXPECT_EQ(bigEqual.GetDisplay(), Map::Display::None);
  Map big("B2", "Big.bmp", BigWrappedMap, 0, 0, 0);
  EXPECT_EQ(big.GetDisplay(), Map::Display::BigWrapped);
  EXPECT_EQ(host.messageBoxes.size(), 4u);

  Map missing("X", "Nowhere.bmp", StandardMap, 0, 0, 0);
  EXPECT_EQ(LastBox(), "Standard map error .|The bitmap file Nowhere.bmp does not exist .");
  EXPECT_EQ(missing.GetDisplay(), Map::Display::None);
  EXPECT_EQ(QuitRequested, 1);

  // A bitmap file that is there but cannot be read: no box, but the program quits.
  QuitRequested = 0;
  std::FILE* bad = std::fopen(dir.File("BITMAPS/Bad.bmp").c_str(), "wb");
  std::fputs("not a bitmap", bad);
  std::fclose(bad);
  Map unreadable("R", "Bad.bmp", BigWrappedMap, 0, 0, 0);
  EXPECT_EQ(QuitRequested, 1);
  EXPECT_EQ(host.messageBoxes.size(), 5u);

  QuitRequested = 0;
  Map unknown("U", "View.bmp", 7, 3, 0, 0);
  EXPECT_EQ(unknown.GetKind(), StandardMap);
  EXPECT_EQ(unknown.GetDisplay(), Map::Display::None);
  EXPECT_EQ(unknown.GetSurface(), nullptr);
  EXPECT_EQ(QuitRequested, 0);
  EXPECT_EQ(host.messageBoxes.size(), 5u);
  PaletteName[0] = 0;
}

TEST_F(MapTest, MasterMapSmallerThanTheViewShowsItsBoxAndDrawsNothing) {
  Bitmap("Small.bmp", 32, 48);
  Map map("M", "Small.bmp", MasterMap, 0, 0, 0);
  EXPECT_EQ(host.messageBoxes.back().caption, "Master map error .");
  const platform::Image screen = Draw(map);
  for (uint32_t c : screen.colors) ASSERT_EQ(c, 0u);
  PaletteName[0] = 0;
}

TEST_F(MapTest, MasterMapShowsTheViewOfTheWorld) {
  Bitmap("World.bmp", 128, 96);
  scene->viewPort = ViewPort(128, 96, 10, 5, 64, 48);
  Map map("M", "World.bmp", MasterMap, 0, 0, 0);
  const platform::Image screen = Draw(map);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(screen.At(x, y), PixelColor(x + 10, y + 5));
  map.SetVisible(0);
  const platform::Image hidden = Draw(map);
  EXPECT_EQ(hidden.At(0, 0), 0u);
  PaletteName[0] = 0;
}

TEST_F(MapTest, StandardMapDriftsWithinItsRoomAndFollowsTheViewByItsFactor) {
  Bitmap("Cloud.bmp", 16, 8);
  scene->width = 116;  // 100 pixels of room
  Map map("S", "Cloud.bmp", StandardMap, 0, 0, 10);
  map.SetAutoScrollX(2.0f);
  for (int i = 0; i < 50; ++i) map.Render();
  EXPECT_EQ(map.GetWorldX(), 100.0f);
  map.Render();
  EXPECT_EQ(map.GetWorldX(), 100.0f);
  EXPECT_EQ(map.GetWorldY(), 10.0f);  // no vertical drift

  // Drawn at its screen place: the world position less the view's origin.
  scene->viewPort = ViewPort(200, 48, 0, 0, 64, 48);
  scene->viewPort.SetLeft(50.0f);
  const platform::Image screen = Draw(map);
  EXPECT_EQ(map.GetScreenX(), 50);
  EXPECT_EQ(screen.At(50, 10), PixelColor(0, 0));
  EXPECT_EQ(screen.At(63, 17), PixelColor(13, 7));
  EXPECT_EQ(screen.At(49, 10), 0u);

  // With a scroll factor the drift is not used and the move is not clamped.
  Map parallax("P", "Cloud.bmp", StandardMap, 0, 90, 0);
  parallax.SetScrollFactorX(0.5f);
  parallax.SetAutoScrollX(7.0f);
  scene->viewPort = ViewPort(400, 48, 0, 0, 64, 48);
  scene->viewPort.ScrollBy(40.0f, 0.0f);
  parallax.Render();
  parallax.Render();
  EXPECT_EQ(parallax.GetWorldX(), 130.0f);
}

TEST_F(MapTest, WrappedMapTravelsAcrossTheViewAndReentersAtTheOtherSide) {
  Bitmap("Bird.bmp", 16, 8);
  Map map("W", "Bird.bmp", WrappedMap, 0, 0, 0);
  ASSERT_EQ(map.GetDisplay(), Map::Display::Wrapped);
  map.SetAutoScrollX(10.0f);
  // Its world place is pulled back by half the view, so it starts at the top left.
  struct Expect {
    int frames, screenX, bitmapX;
  };
  const Expect steps[] = {{1, 10, 0}, {3, 40, 0}, {1, 50, 0}, {1, 60, 0}, {1, 0, 10}};
  for (const Expect& e : steps) {
    platform::Image screen;
    for (int i = 0; i < e.frames; ++i) screen = Draw(map);
    EXPECT_EQ(screen.At(e.screenX, 3), PixelColor(e.bitmapX, 3)) << e.screenX;
  }
  // After the last step the bitmap's right part shows at the left edge, nothing beyond.
  const platform::Image screen = BackBuffer->ReadImage();
  EXPECT_EQ(screen.At(5, 7), PixelColor(15, 7));
  EXPECT_EQ(screen.At(6, 0), 0u);
  EXPECT_EQ(screen.At(0, 8), 0u);
}

TEST_F(MapTest, BigWrappedMapTilesTheViewAtEveryOffset) {
  Bitmap("Sky.bmp", 80, 60);
  Map map("B", "Sky.bmp", BigWrappedMap, 0, 0, 0);
  map.SetAutoScrollX(10.0f);
  map.SetAutoScrollY(5.0f);
  // One, two and four pieces as the offset crosses the bitmap's right and bottom edges.
  int mx = 0, my = 0;
  for (int frame = 0; frame < 25; ++frame) {
    const platform::Image screen = Draw(map);
    mx = ((mx - 10) % 80 + 80) % 80;
    my = ((my - 5) % 60 + 60) % 60;
    ExpectTiled(screen, 80, 60, mx, my);
  }
  // With a scroll factor the view's move replaces the drift, taken the same way round.
  map.SetScrollFactorX(1.0f);
  scene->viewPort = ViewPort(1000, 48, 0, 0, 64, 48);
  scene->viewPort.ScrollBy(30.0f, 0.0f);
  const platform::Image screen = Draw(map);
  mx = ((mx - 30) % 80 + 80) % 80;
  ExpectTiled(screen, 80, 60, mx, my);
}

TEST_F(MapTest, ContinuousMapCyclesInsideTheView) {
  Bitmap("Band.bmp", 16, 8);
  Map map("C", "Band.bmp", ContinuousWrappedMap, 0, 0, 4);
  ASSERT_EQ(map.GetDisplay(), Map::Display::ContinuousFitting);
  map.SetAutoScrollX(6.0f);
  float expected = 0.0f;
  for (int frame = 1; frame <= 20; ++frame) {
    const platform::Image screen = Draw(map);
    expected += 6.0f;
    if (expected > 64.0f) expected -= 64.0f;
    const int sx = map.screenX;
    ASSERT_EQ(sx, static_cast<int>(expected));
    for (int x = 0; x < 64; ++x) {
      const int bx = ((x - sx) % 64 + 64) % 64;
      ASSERT_EQ(screen.At(x, 5), bx < 16 ? PixelColor(bx, 1) : 0u) << "frame " << frame << " x " << x;
    }
  }

  // Moving diagonally, it is drawn as one piece even across the view's edge.
  Map diagonal("D", "Band.bmp", ContinuousWrappedMap, 0, 60, 44);
  diagonal.SetAutoScrollX(1.0f);
  diagonal.SetAutoScrollY(1.0f);
  const platform::Image screen = Draw(diagonal);
  EXPECT_EQ(diagonal.screenX, 61);
  EXPECT_EQ(screen.At(61, 45), PixelColor(0, 0));
  EXPECT_EQ(screen.At(0, 45), 0u);
  EXPECT_EQ(screen.At(61, 0), 0u);
}

TEST_F(MapTest, ContinuousMapWiderThanTheViewScrollsAsAStrip) {
  Bitmap("Strip.bmp", 100, 8);
  Map map("C", "Strip.bmp", ContinuousWrappedMap, 0, 0, 20);
  ASSERT_EQ(map.GetDisplay(), Map::Display::ContinuousExceeding);
  map.SetAutoScrollX(-7.0f);
  int mx = 0;
  for (int frame = 0; frame < 20; ++frame) {
    const platform::Image screen = Draw(map);
    mx = ((mx + 7) % 100 + 100) % 100;
    for (int x = 0; x < 64; ++x) ASSERT_EQ(screen.At(x, 21), PixelColor((x + mx) % 100, 1));
    ASSERT_EQ(screen.At(0, 19), 0u);
  }
}

TEST_F(MapTest, PausedMapsKeepTheirPlace) {
  Bitmap("Sky.bmp", 80, 60);
  Map map("B", "Sky.bmp", BigWrappedMap, 0, 0, 0);
  map.SetAutoScrollX(10.0f);
  Paused = 1;
  map.Render();
  Paused = 0;
  EXPECT_EQ(map.wrapX, 0);
  ExpectTiled(Draw(map), 80, 60, 70, 0);
}

TEST_F(MapTest, ColourKeyTakesEffectInTheScenesCopy) {
  Bitmap("View.bmp", 64, 48);
  Map map("M", "View.bmp", MasterMap, 0, 0, 0);
  map.SetColorKey(PixelColor(3, 2));
  map.SetUseColorKey(true);
  auto drawOverWhite = [&](Map& m) {
    BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0xFFFFFF));
    m.Render();
    return BackBuffer->ReadImage();
  };
  // The bitmap was loaded before the key was set: every pixel is drawn.
  EXPECT_EQ(drawOverWhite(map).At(3, 2), PixelColor(3, 2));
  Map copy(map);
  const platform::Image screen = drawOverWhite(copy);
  EXPECT_EQ(screen.At(3, 2), 0xFFFFFFu);
  EXPECT_EQ(screen.At(4, 2), PixelColor(4, 2));
  // Without the flag the key is there but not used.
  copy.SetUseColorKey(false);
  EXPECT_EQ(drawOverWhite(copy).At(3, 2), PixelColor(3, 2));
  PaletteName[0] = 0;
}

TEST_F(MapTest, LostSurfacesAreRestoredAndTheBlitRetriedOnce) {
  Bitmap("Sky.bmp", 80, 60);
  Map* map = new Map("B", "Sky.bmp", BigWrappedMap, 0, 0, 0);
  scene->maps.AddHead(map);  // the restore reloads the bitmaps of the scene's maps
  host.video.LoseSurfacesAtNextBlits(1);
  ExpectTiled(Draw(*map), 80, 60, 0, 0);
  EXPECT_TRUE(host.messageBoxes.empty());

  // Lost again on the retry: reported with the drawing's location and the code's text.
  host.video.LoseSurfacesAtNextBlits(2);
  BackBuffer->Fill(nullptr, 0);
  map->Render();
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(host.messageBoxes[0].text, "Blt Error ! Location : DisplayMap");
  host.messageBoxes.clear();
  ExpectTiled(Draw(*map), 80, 60, 0, 0);
  EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(MapTest, OutlinesAreShownInWhiteWhenAsked) {
  Bitmap("Floor.bmp", 64, 48);
  Map map("F", "Floor.bmp", StandardMap, 0, 0, 0);
  map.AddCollisionSegment(CollisionSegment(2, 30, 20, 30, 0, 0));
  EXPECT_NE(Draw(map).At(5, 30), 0xFFFFFFu);
  map.SetShowCollisionShapes(1);
  const platform::Image screen = Draw(map);
  EXPECT_EQ(screen.At(2, 30), 0xFFFFFFu);
  EXPECT_EQ(screen.At(19, 30), 0xFFFFFFu);
  EXPECT_EQ(screen.At(5, 31), PixelColor(5, 31));
}

TEST_F(MapTest, TiedTextBoxesAreDrawnWithAVisibleMap) {
  const uint32_t savedRandom = RandomState();  // a new text box seeds the shared generator
  Map map;
  Variable box;
  box.SetDrawMode(kWordWrap);
  box.SetRect(4, 4, 40, 30);
  box.SetShowFrame(1);
  box.SetFrameColor(0xFFFFFF);
  box.SetTiedMap(&map);
  map.TieVariable(&box);
  EXPECT_EQ(map.GetTiedVariableCount(), 1u);
  auto lit = [](const platform::Image& screen) {
    int n = 0;
    for (uint32_t c : screen.colors) n += c != 0;
    return n;
  };
  EXPECT_GT(lit(Draw(map)), 0);
  map.SetVisible(0);
  EXPECT_EQ(lit(Draw(map)), 0);
  SeedRandom(savedRandom);
}

TEST_F(MapTest, CompositionConstantMustBeEvenAndAtLeast64) {
  Map map;
  map.SetCompositionConstant(96);
  EXPECT_EQ(map.GetCompositionConstant(), 96);
  EXPECT_TRUE(host.messageBoxes.empty());
  const char* twice = "Initialisation Error|The composition constant must be multiple of two.";
  const char* least =
      "Initialisation Error|The composition constant must be greater or equal to 64.";
  const struct {
    int32_t value;
    const char* box;
  } refused[] = {{63, twice}, {65, twice}, {0, twice}, {-3, twice}, {62, least}, {-64, least}};
  for (const auto& r : refused) {
    QuitRequested = 0;
    map.SetCompositionConstant(r.value);
    EXPECT_EQ(LastBox(), r.box) << r.value;
    EXPECT_EQ(QuitRequested, 1);
    EXPECT_EQ(map.GetCompositionConstant(), 96);
  }
}

TEST_F(MapTest, GridFilesEveryOutlineInEveryCellItReaches) {
  Map map;
  map.width = 1024;
  map.height = 100;
  map.BuildCollisionGrid();
  EXPECT_EQ(map.GetGridColumns(), 9);
  EXPECT_EQ(map.GetGridRows(), 1);
  map.width = 100;
  map.BuildCollisionGrid();
  EXPECT_EQ(map.GetGridColumns(), 1);

  map.width = 400;
  map.height = 256;  // 4 x 3 cells of 128
  map.AddCollisionSegment(CollisionSegment(10, 10, 300, 10, 7, 1));  // row 0, columns 0-2
  map.AddCollisionSegment(CollisionSegment(5, 5, 5, 5, 0, 0));       // a point: not kept
  map.AddCollisionSegment(CollisionSegment(390, 128, 390, 140, 0, 0));  // on a row border
  map.segments.AddHead(new CollisionCircle(200, 200, 10, 0, 0));
  EXPECT_EQ(map.segments.Count(), 3);
  map.BuildCollisionGrid();
  ASSERT_EQ(map.GetGridColumns(), 4);
  ASSERT_EQ(map.GetGridRows(), 3);

  auto holds = [&](int c, int r) { return map.GetGridCell(c, r)->Count(); };
  const int expected[4][3] = {{1, 0, 0}, {1, 1, 0}, {1, 0, 0}, {1, 1, 0}};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 3; ++r) EXPECT_EQ(holds(c, r), expected[c][r]) << c << "," << r;

  // Each cell holds its own copy with the same ends, value and flag.
  auto* a = static_cast<CollisionSegment*>(map.GetGridCell(0, 0)->GetHead());
  auto* b = static_cast<CollisionSegment*>(map.GetGridCell(2, 0)->GetHead());
  EXPECT_NE(a, b);
  EXPECT_FLOAT_EQ(a->GetX2(), 300.0f);
  EXPECT_EQ(a->GetValue(), 7);
  EXPECT_EQ(a->GetFlag(), 1);
  EXPECT_EQ(map.GetGridCell(1, 1)->GetHead()->GetClassRecord().name, std::string("CollisionCircle"));

  // Lookups outside the grid find nothing instead of reading past it.
  EXPECT_EQ(map.GetGridCell(-1, 0), nullptr);
  EXPECT_EQ(map.GetGridCell(4, 0), nullptr);
  EXPECT_EQ(map.GetGridCell(0, 3), nullptr);

  // A copy has its own grid with the same cells.
  Map copy(map);
  ASSERT_EQ(copy.GetGridColumns(), 4);
  EXPECT_EQ(copy.GetGridCell(3, 1)->Count(), 1);
  EXPECT_NE(copy.GetGridCell(3, 1)->GetHead(), map.GetGridCell(3, 1)->GetHead());
}

TEST_F(MapTest, SaveAndLoadContinueWhereTheMapWas) {
  Bitmap("Bird.bmp", 16, 8);
  Map map("W", "Bird.bmp", WrappedMap, 4, 0, 0);
  map.SetAutoScrollX(3.5f);
  map.SetUseColorKey(true);
  map.AddCollisionSegment(CollisionSegment(0, 0, 10, 0, 0, 0));
  for (int i = 0; i < 5; ++i) map.Render();
  {
    ObjectStream out(dir.File("map.sav"), true);
    map.Save(out);
    ASSERT_TRUE(out.Good());
  }
  Map loaded;
  {
    ObjectStream in(dir.File("map.sav"), false);
    loaded.Load(in);
    ASSERT_TRUE(in.Good());
  }
  EXPECT_STREQ(loaded.GetName(), "W");
  EXPECT_EQ(loaded.GetDepth(), 4);
  EXPECT_EQ(loaded.GetDisplay(), Map::Display::Wrapped);
  EXPECT_EQ(loaded.wrapFX, map.wrapFX);
  EXPECT_EQ(loaded.blitFlags, Map::kBlitWaitKeySource);
  EXPECT_EQ(loaded.segments.Count(), 1);
  EXPECT_EQ(loaded.GetGridCell(0, 0)->Count(), 1);
  ASSERT_NE(loaded.GetSurface(), nullptr);
  for (int i = 0; i < 3; ++i) {
    const platform::Image a = Draw(map), b = Draw(loaded);
    EXPECT_EQ(a.colors, b.colors);
  }
}

TEST_F(MapTest, SavedRecordLayout) {
  Map map;
  map.SetName("Floor");
  map.kind = BigWrappedMap;
  map.compositionConstant = 256;
  map.depth = -3;
  SetRect(&map.rects[Map::kDestD], 1, 2, 3, 4);
  {
    ObjectStream out(dir.File("layout.sav"), true);
    map.Save(out);
  }
  std::FILE* f = std::fopen(dir.File("layout.sav").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<uint8_t> bytes(1024);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  auto word = [&](size_t at) {
    return int32_t(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24);
  };
  ASSERT_EQ(bytes.size(), 564u);
  EXPECT_EQ(word(0), -1);                  // no state machine follows
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[8])), "Floor");
  EXPECT_EQ(bytes[361], 0xFD);             // depth
  EXPECT_EQ(bytes[365], 1);                // visible
  EXPECT_EQ(word(386 + 8 * 16 + 12), 4);   // bottom of the last rectangle
  EXPECT_EQ(word(530), 0x01000000);        // blit flags
  EXPECT_EQ(word(534), BigWrappedMap);
  EXPECT_EQ(word(543), 512);               // the second reserved value
  EXPECT_EQ(word(548), 256);
  EXPECT_EQ(word(552), 0);                 // no circles
  EXPECT_EQ(word(560), -1);                // no update function
}

TEST_F(MapTest, DamagedSavedMapsAreRefused) {
  Bitmap("Bird.bmp", 16, 8);
  Bitmap("Sky.bmp", 80, 60);
  auto roundTrip = [&](void (*damage)(Map&), int32_t kind = WrappedMap) {
    Map map("W", kind == WrappedMap ? "Bird.bmp" : "Sky.bmp", kind, 0, 0, 0);
    damage(map);
    {
      ObjectStream out(dir.File("bad.sav"), true);
      map.Save(out);
    }
    Map loaded;
    ObjectStream in(dir.File("bad.sav"), false);
    loaded.Load(in);
    return in.Good();
  };
  EXPECT_TRUE(roundTrip([](Map&) {}));
  EXPECT_FALSE(roundTrip([](Map& m) { m.kind = 5; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.kind = -1; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.compositionConstant = 0; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.compositionConstant = 66 + 1; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.compositionConstant = 32; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.periodX = 0; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.stateMachineIndex = 40; }));
  EXPECT_FALSE(roundTrip([](Map& m) { m.updateFunctionIndex = 1000; }));
  // Without its bitmap a saved map keeps the saved size, which a big wrapped map divides by.
  auto gone = [](Map& m) { std::snprintf(m.file, sizeof m.file, "Gone.bmp"); };
  EXPECT_TRUE(roundTrip(gone));
  EXPECT_TRUE(roundTrip(gone, BigWrappedMap));
  EXPECT_FALSE(roundTrip(
      [](Map& m) {
        std::snprintf(m.file, sizeof m.file, "Gone.bmp");
        m.height = 0;
      },
      BigWrappedMap));
  EXPECT_FALSE(roundTrip([](Map& m) {
    std::snprintf(m.file, sizeof m.file, "Gone.bmp");
    m.width = 1u << 20;
  }));
  // A map whose bitmap never loaded is saved without a size and comes back as it was.
  EXPECT_TRUE(roundTrip([](Map& m) { m.Reset(); }, StandardMap));
  // The size comes from the bitmap, not from the file.
  Map map("W", "Bird.bmp", WrappedMap, 0, 0, 0);
  map.width = 5000;
  {
    ObjectStream out(dir.File("size.sav"), true);
    map.Save(out);
  }
  Map loaded;
  ObjectStream in(dir.File("size.sav"), false);
  loaded.Load(in);
  EXPECT_TRUE(in.Good());
  EXPECT_EQ(loaded.GetWidth(), 16u);
  EXPECT_EQ(loaded.GetGridColumns(), 1);
}

Node* updatedOwner = nullptr;
void RecordOwner(Node* owner) { updatedOwner = owner; }

TEST_F(MapTest, UpdateFunctionComesFromTheBehaviourTable) {
  BehaviourFunction* savedTable = BehaviourTable;
  const int32_t savedSize = BehaviourTableSize;
  BehaviourFunction table[2] = {nullptr, RecordOwner};
  BehaviourTable = table;
  BehaviourTableSize = 2;
  Map map;
  map.RunUpdateFunction();
  EXPECT_EQ(updatedOwner, nullptr);
  map.SetUpdateFunction(1);
  map.RunUpdateFunction();
  EXPECT_EQ(updatedOwner, &map);
  map.SetUpdateFunction(-1);
  EXPECT_EQ(map.updateFunction, nullptr);

  // A saved index picks the function again when the map is loaded.
  map.SetUpdateFunction(1);
  {
    ObjectStream out(dir.File("update.sav"), true);
    map.Save(out);
  }
  Map loaded;
  ObjectStream in(dir.File("update.sav"), false);
  loaded.Load(in);
  EXPECT_TRUE(in.Good());
  EXPECT_EQ(loaded.updateFunction, &RecordOwner);
  updatedOwner = nullptr;
  BehaviourTable = savedTable;
  BehaviourTableSize = savedSize;
}

TEST_F(MapTest, FoundByExactNameInTheCurrentScene) {
  Map* a = new Map;
  std::snprintf(a->name, sizeof a->name, "Floor");
  Map* b = new Map;
  std::snprintf(b->name, sizeof b->name, "Floor2");
  scene->maps.AddHead(a);
  scene->maps.AddHead(b);
  EXPECT_EQ(FindMapByName("Floor"), a);
  EXPECT_EQ(FindMapByName("Floor2"), b);
  EXPECT_EQ(FindMapByName("floor"), nullptr);
  EXPECT_EQ(FindMapByName(nullptr), nullptr);
  CurrentGameNode = nullptr;
  EXPECT_EQ(FindMapByName("Floor"), nullptr);
}

}  // namespace
}  // namespace quor
