#include "engine/display/bitmap.h"

#include <SDL.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "platform/bitmap_file.h"
#include "platform/headless/headless_host.h"
#include "../../support/game_files.h"
#include "../../support/temp_dir.h"
#include "../../support/sample_files.h"

namespace quor {
namespace {

using platform::Image;


using testing_support::EncodeBmp;
using testing_support::EncodeRleBmp;
using testing_support::TestPicture;

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

TEST(BmpFile, EveryDepthDecodesToTheSamePicture) {
  for (int bits : {4, 8, 16, 24, 32}) {
    Image want = TestPicture(4), got;
    ASSERT_TRUE(platform::DecodeBmp(EncodeBmp(want, bits), got)) << bits;
    EXPECT_EQ(got.width, 5);
    EXPECT_EQ(got.height, 3);
    EXPECT_EQ(got.colors, want.colors) << bits;
  }
  Image want = TestPicture(2), got;
  ASSERT_TRUE(platform::DecodeBmp(EncodeBmp(want, 1), got));
  EXPECT_EQ(got.colors, want.colors);
}

TEST(BmpFile, DamagedFilesFailCleanly) {
  std::vector<uint8_t> good = EncodeBmp(TestPicture(4), 24);
  Image out;
  for (size_t cut : {size_t(0), size_t(10), size_t(30), size_t(54), good.size() - 1}) {
    std::vector<uint8_t> bytes(good.begin(), good.begin() + long(cut));
    EXPECT_FALSE(platform::DecodeBmp(bytes, out)) << cut;
  }
  std::vector<uint8_t> huge = good;
  huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // width 2^31 - 1
  EXPECT_FALSE(platform::DecodeBmp(huge, out));
  std::vector<uint8_t> badDepth = good;
  badDepth[28] = 7;
  EXPECT_FALSE(platform::DecodeBmp(badDepth, out));
  EXPECT_FALSE(platform::LoadBmpFile("/nonexistent/x.bmp", out));
}

TEST(BmpFile, RunLengthPicturesDecodeToTheSamePicture) {
  for (int bits : {4, 8}) {
    Image want = TestPicture(4), got;
    ASSERT_TRUE(platform::DecodeBmp(EncodeRleBmp(want, bits), got)) << bits;
    EXPECT_EQ(got.width, 5);
    EXPECT_EQ(got.height, 3);
    EXPECT_EQ(got.colors, want.colors) << bits;
  }
}

// Run-length files with one header field changed: a picture larger than its runs could
// fill, or larger than any map, is refused before anything is decoded.
TEST(BmpFile, RunLengthPicturesBeyondTheirFileOrASaneSizeAreRefused) {
  const std::vector<uint8_t> good = EncodeRleBmp(TestPicture(4), 8);
  ASSERT_LT(good.size(), 14u + 40 + 1024 + 64);
  Image out;
  auto with = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = uint8_t(value >> (8 * i));
    return bytes;
  };
  EXPECT_FALSE(platform::DecodeBmp(with(18, 16384), out)) << "width";
  EXPECT_FALSE(platform::DecodeBmp(with(22, 16384), out)) << "height";
  EXPECT_FALSE(platform::DecodeBmp(with(22, uint32_t(-16384)), out)) << "top-down height";
  std::vector<uint8_t> fourBits = good;
  fourBits[28] = 4;  // 4-bit indices under 8-bit runs
  EXPECT_FALSE(platform::DecodeBmp(fourBits, out));
  // Enough run bytes for the picture, but more pixels than any map has.
  std::vector<uint8_t> huge = with(18, 8192);
  for (int i = 0; i < 4; ++i) huge[22 + i] = uint8_t(4097 >> (8 * i));
  huge.resize(huge.size() + 8192u * 4097u / 128u, 0);
  EXPECT_FALSE(platform::DecodeBmp(huge, out));
  // The same size within bounds would have been decoded.
  std::vector<uint8_t> wide = with(18, 1000);
  wide.resize(wide.size() + 1000u * 3u / 128u + 1, 0);
  EXPECT_TRUE(platform::DecodeBmp(wide, out));
  EXPECT_EQ(out.width, 1000);
}

class BitmapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    mkdir(dir.File("BITMAPS").c_str(), 0755);
    savedWindowed = Windowed;
    Windowed = 0;
  }
  void TearDown() override {
    ReleaseGraphics();
    SetScreenMode(640, 480, 16);
    Windowed = savedWindowed;
    std::memset(PaletteName, 0, sizeof PaletteName);
    platform::InstallHost(nullptr);
  }
  void Start(uint32_t bits) {
    SetScreenMode(64, 48, bits);
    ASSERT_TRUE(InitGraphics());
  }
  testing_support::TempDir dir;
  platform::HeadlessHost host;
  uint8_t savedWindowed = 0;
};

TEST_F(BitmapTest, FileLoadsWithItsKeyAtEveryDepth) {
  WriteFile(dir.File("BITMAPS/Hero.bmp"), EncodeBmp(TestPicture(4), 24));
  for (uint32_t bits : {16u, 24u, 32u}) {
    Start(bits);
    auto s = LoadBitmapSurface(DirectDrawObject, "hero.BMP", 0, 0, 0xFF0000);  // case ignored
    ASSERT_NE(s, nullptr) << bits;
    EXPECT_EQ(s->Width(), 5);
    EXPECT_EQ(s->Format(), BackBuffer->Format());
    uint32_t key;
    ASSERT_EQ(s->GetColorKey(key), platform::SurfaceResult::Ok);
    EXPECT_EQ(key, MatchSurfaceColor(s.get(), 0xFF0000));
    // The blue pixels of the picture carry exactly the key's value.
    Image img = TestPicture(4);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(s->GetPixel(x, y) == key, img.At(x, y) == 0xFF0000);
    ReleaseGraphics();
  }
}

TEST_F(BitmapTest, ARunLengthFileAskingForAHugePictureGivesNoSurface) {
  std::vector<uint8_t> bytes = EncodeRleBmp(TestPicture(4), 4);
  WriteFile(dir.File("BITMAPS/Small.bmp"), bytes);
  bytes[19] = 0x40, bytes[23] = 0x40;  // 16384 x 16384 from a file of a hundred bytes
  WriteFile(dir.File("BITMAPS/Hostile.bmp"), bytes);
  Start(16);
  EXPECT_NE(LoadBitmapSurface(DirectDrawObject, "Small.bmp", 0, 0, 0), nullptr);
  EXPECT_EQ(LoadBitmapSurface(DirectDrawObject, "Hostile.bmp", 0, 0, 0), nullptr);
  EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(BitmapTest, KeyValuesOfGreen) {
  Start(16);
  auto s = CreateOffscreenSurface(2, 2);
  EXPECT_EQ(MatchSurfaceColor(s.get(), 0x00FF00), 0x07E0u);
  EXPECT_EQ(MatchSurfaceColor(nullptr, 0x00FF00), 0xFFFFFFFFu);
  ReleaseGraphics();
  Start(32);
  s = CreateOffscreenSurface(2, 2);
  EXPECT_EQ(MatchSurfaceColor(s.get(), 0x00FF00), 0x0000FF00u);
}

TEST_F(BitmapTest, StretchedToTheSizeAsked) {
  WriteFile(dir.File("BITMAPS/Wide.bmp"), EncodeBmp(TestPicture(4), 24));
  Start(16);
  auto s = LoadBitmapSurface(DirectDrawObject, "Wide.bmp", 10, 6, 0x00FF00);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Width(), 10);
  EXPECT_EQ(s->Height(), 6);
  Image img = TestPicture(4);
  EXPECT_EQ(s->GetPixel(9, 5), s->MatchColor(img.At(4, 2)));
  EXPECT_EQ(s->GetPixel(2, 2), s->MatchColor(img.At(1, 1)));
  auto tall = LoadBitmapSurface(DirectDrawObject, "Wide.bmp", 0, 9, 0x00FF00);
  ASSERT_NE(tall, nullptr);
  EXPECT_EQ(tall->Width(), 5);
  EXPECT_EQ(tall->Height(), 9);
  EXPECT_EQ(LoadBitmapSurface(DirectDrawObject, "Missing.bmp", 0, 0, 0), nullptr);
  EXPECT_TRUE(host.messageBoxes.empty());
}

// The plain meaning of loading a bitmap file onto a surface of a size: SDL's own decoding
// into colours, then each pixel given the colour its place scales to, converted on its own.
std::unique_ptr<platform::Surface> LoadPixelByPixel(const std::string& path, int w, int h) {
  SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XBGR8888, 0);
  SDL_FreeSurface(loaded);
  auto surface = CreateOffscreenSurface(w, h);
  for (int y = 0; y < surface->Height(); ++y)
    for (int x = 0; x < surface->Width(); ++x) {
      const auto* row = static_cast<const uint8_t*>(rgb->pixels) +
                        int64_t(y) * rgb->h / surface->Height() * rgb->pitch;
      const uint32_t color =
          reinterpret_cast<const uint32_t*>(row)[int64_t(x) * rgb->w / surface->Width()];
      surface->PutPixel(x, y, surface->MatchColor(color & 0xFFFFFF));
    }
  SDL_FreeSurface(rgb);
  return surface;
}

// Every bitmap of the game, loaded at its own size and stretched at each depth, holds what
// loading it pixel by pixel gives.
TEST_F(BitmapTest, EveryGameBitmapLoadsAsThePixelByPixelMeaning) {
  rmdir(dir.File("BITMAPS").c_str());
  testing_support::ProvideGameFiles(dir.Path());
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(dir.File("BITMAPS").c_str()), closedir);
  while (dirent* e = folder ? readdir(folder.get()) : nullptr)
    if (e->d_name[0] != '.') names.push_back(e->d_name);
  EXPECT_GT(names.size(), 400u);
  for (uint32_t bits : {16u, 24u, 32u}) {
    Start(bits);
    for (const std::string& name : names)
      for (int stretch = 0; stretch < 2; ++stretch) {
        auto loaded = LoadBitmapSurface(DirectDrawObject, name.c_str(), 0, 0, 0x00FF00);
        ASSERT_NE(loaded, nullptr) << name;
        if (stretch)
          loaded = LoadBitmapSurface(DirectDrawObject, name.c_str(), loaded->Width() * 2 / 3 + 1,
                                     loaded->Height() * 3 / 2 + 1, 0x00FF00);
        auto expected =
            LoadPixelByPixel(dir.File("BITMAPS/" + name), loaded->Width(), loaded->Height());
        ASSERT_EQ(std::memcmp(loaded->Pixels(), expected->Pixels(),
                              size_t(loaded->Pitch()) * loaded->Height()),
                  0)
            << name << " at " << bits << " bits" << (stretch ? ", stretched" : "");
      }
    ReleaseGraphics();
  }
}

TEST_F(BitmapTest, BuiltInBitmapComesBeforeTheFile) {
  WriteFile(dir.File("BITMAPS/TEXTSCURSOR"), EncodeBmp(TestPicture(4), 24));
  Start(16);
  auto s = LoadBitmapSurface(DirectDrawObject, "TEXTSCURSOR", 10, 19, 0xFFFFFF);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Width(), 10);
  EXPECT_EQ(s->Height(), 19);
  uint32_t key;
  s->GetColorKey(key);
  EXPECT_EQ(s->GetPixel(0, 5), key);                    // white margin is transparent
  EXPECT_EQ(s->GetPixel(4, 5), s->MatchColor(0x000000));  // the black stem
  EXPECT_NE(FindBitmapResource("icon"), nullptr);
  EXPECT_NE(FindBitmapResource("Cursor"), nullptr);
  EXPECT_EQ(FindBitmapResource("Hero"), nullptr);
}

TEST_F(BitmapTest, PaletteFromFile) {
  Image img = TestPicture(4);
  WriteFile(dir.File("BITMAPS/Pal8.bmp"), EncodeBmp(img, 8));
  std::vector<uint8_t> four = EncodeBmp(img, 4);
  // Pad the file so that 1024 bytes of table can be read: the tail after the 16 entries.
  four.resize(14 + 40 + 1024, 0xAB);
  WriteFile(dir.File("BITMAPS/Pal4.bmp"), four);
  Start(16);
  auto p8 = LoadBitmapPalette(DirectDrawObject, "Pal8.bmp");
  ASSERT_NE(p8, nullptr);
  EXPECT_EQ(p8->entries[2].red, 255);  // kColors[2] is red 0x0000FF
  EXPECT_EQ(p8->entries[2].blue, 0);
  EXPECT_EQ(p8->entries[2].flags, 4);
  EXPECT_EQ(p8->entries[3].blue, 255);
  auto p4 = LoadBitmapPalette(DirectDrawObject, "Pal4.bmp");
  ASSERT_NE(p4, nullptr);
  EXPECT_EQ(p4->entries[15].flags, 4);
  // Entry 16 onwards keeps the file's bytes as they are.
  EXPECT_EQ(p4->entries[16].red, four[54 + 64]);
  EXPECT_EQ(p4->entries[16].blue, four[54 + 66]);
  EXPECT_EQ(p4->entries[255].flags, 0xAB);
  EXPECT_EQ(LoadBitmapPalette(DirectDrawObject, "None.bmp"), nullptr);
}

TEST_F(BitmapTest, EightBitDisplayTakesTheScenePalette) {
  WriteFile(dir.File("BITMAPS/Pal8.bmp"), EncodeBmp(TestPicture(4), 8));
  std::strcpy(PaletteName, "Pal8.bmp");
  Start(8);
  ASSERT_NE(PrimarySurface->Palette(), nullptr);
  EXPECT_EQ(PrimarySurface->Palette()[3].blue, 255);
  auto s = LoadBitmapSurface(DirectDrawObject, "Pal8.bmp", 0, 0, 0xFF0000);
  ASSERT_NE(s, nullptr);
  uint32_t key;
  s->GetColorKey(key);
  EXPECT_EQ(key, 3u);
  ReleaseGraphics();
  Start(16);  // deeper modes take no palette
  EXPECT_EQ(PrimarySurface->Palette(), nullptr);
}

TEST_F(BitmapTest, LongCurrentDirectoryStillFindsItsBitmaps) {
  std::string deep = dir.Path();
  while (deep.size() < 300) {
    deep += "/a_rather_long_folder_name";
    ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
  }
  ASSERT_EQ(mkdir((deep + "/BITMAPS").c_str(), 0755), 0);
  WriteFile(deep + "/BITMAPS/Deep.bmp", EncodeBmp(TestPicture(4), 24));
  ASSERT_TRUE(platform::SetCurrentDirectory(deep));
  Start(16);
  EXPECT_LT(std::strlen(BitmapDirectory), sizeof BitmapDirectory);
  EXPECT_NE(LoadBitmapSurface(DirectDrawObject, "Deep.bmp", 0, 0, 0), nullptr);
  platform::SetCurrentDirectory(dir.Path());
}

TEST_F(BitmapTest, DrawErrorBoxes) {
  ReportDrawError(0, "DisplayMap");
  EXPECT_TRUE(host.messageBoxes.empty());
  ReportDrawError(0x887601C2, "DisplayMap");
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(host.messageBoxes[0].text, "Blt Error ! Location : DisplayMap");
  EXPECT_EQ(host.messageBoxes[1].text.rfind("Access to the surface is refused because the surface memory is gone.", 0),
            0u);
  host.messageBoxes.clear();
  ReportDrawError(0x12345678, "A location much longer than twenty-four characters");
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text, "Blt Error ! Location : A location much longer t");
  EXPECT_STREQ(DrawErrorText(0x80004001), " The operation is not supported.");
  int known = 0;
  for (uint32_t code = 0x88760000; code < 0x88760300; ++code) known += DrawErrorText(code) != nullptr;
  EXPECT_EQ(known, 15);
}

}  // namespace
}  // namespace quor
