#include "tools/standins/screen_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "game/animation/animation_data.h"
#include "game/scenes/content_data.h"
#include "tools/standins/file_formats.h"
#include "tools/standins/frame_pictures.h"
#include "tools/standins/painter.h"

namespace standins {

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint32_t kWhite = Rgb(255, 255, 255);

platform::Image Blank(uint32_t colour) {
  platform::Image image;
  image.width = kScreenWidth;
  image.height = kScreenHeight;
  image.colors.assign(size_t(kScreenWidth) * kScreenHeight, colour);
  return image;
}

void Gradient(Painter& p, uint32_t top, uint32_t bottom) {
  for (int y = 0; y < p.Height(); ++y) {
    const float t = float(y) / float(p.Height() - 1);
    auto mix = [t](uint8_t a, uint8_t b) { return int(a + (b - a) * t); };
    p.Rect(0, y, p.Width(), y + 1,
           Rgb(mix(platform::RedOf(top), platform::RedOf(bottom)),
               mix(platform::GreenOf(top), platform::GreenOf(bottom)),
               mix(platform::BlueOf(top), platform::BlueOf(bottom))));
  }
}

void ShadowedText(Painter& p, const std::string& text, int top, int height, uint32_t colour,
                  const char* face = "Arial") {
  const int shadow = std::max(2, height / 25);
  p.CentredText(text, kScreenWidth / 2 + shadow, top + shadow, height, Rgb(0, 0, 0), face);
  p.CentredText(text, kScreenWidth / 2, top, height, colour, face);
}

// A small figure of each family, as they meet the hero in the game.
void Cast(Painter& p, int top) {
  const Family cast[] = {Family::kHero, Family::kItem, Family::kMonster, Family::kFixture,
                         Family::kBoss};
  const int size = 34, gap = 40;
  int x = kScreenWidth / 2 - (5 * size + 4 * gap) / 2;
  for (Family family : cast) {
    const uint32_t colour = FamilyColour(family);
    if (family == Family::kFixture) {
      p.Rect(x + 4, top, x + size - 4, top + size, colour);
      p.Frame(x + 4, top, x + size - 4, top + size, 2, Shade(colour, 0.5f));
    } else if (family == Family::kItem) {
      p.Rect(x + 6, top + 6, x + size - 6, top + size - 6, colour);
      p.CentredText("K", x + size / 2, top + 7, size - 14, Shade(colour, 0.3f));
    } else {
      p.Ellipse(float(x), float(top), float(x + size), float(top + size), colour);
      p.Circle(x + size * 0.35f, top + size * 0.4f, 3.0f, Rgb(250, 250, 240));
      p.Circle(x + size * 0.65f, top + size * 0.4f, 3.0f, Rgb(250, 250, 240));
    }
    x += size + gap;
  }
}

platform::Image TitleScreen() {
  platform::Image image = Blank(0);
  Painter p(image);
  Gradient(p, Rgb(8, 10, 40), Rgb(44, 18, 60));
  for (int i = 0; i < 90; ++i) {
    // Stars scattered by a fixed rule, so the picture is the same every time.
    const int x = (i * 197 + 31) % kScreenWidth, y = (i * 113 + 7) % 330;
    p.Pixel(x, y, Rgb(200, 200, 230));
  }
  p.Frame(12, 12, kScreenWidth - 12, kScreenHeight - 12, 3, Rgb(200, 160, 60));
  ShadowedText(p, "QUOR", 70, 150, Rgb(250, 200, 60));
  Cast(p, 270);
  return image;
}

// The picture of an animation entry's first frame as the game shows it, scaled to fit the
// box (by whole multiples where it fits) and centred on it; its key colour is left out.
void PasteFrame(platform::Image& image, int entry, int left, int top, int boxWidth, int boxHeight) {
  const game::ActionData& action = game::AnimationEntryData(entry).actions[0];
  const game::FrameData& data = action.frames[0];
  const platform::Image frame = FramePicture(FrameRequest{entry, 0, 0, action.count, &data});
  float scale = std::min(float(boxWidth) / float(frame.width), float(boxHeight) / float(frame.height));
  if (scale >= 1.0f) scale = std::floor(scale);
  const int width = int(float(frame.width) * scale), height = int(float(frame.height) * scale);
  const int x0 = left + (boxWidth - width) / 2, y0 = top + (boxHeight - height) / 2;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t colour = frame.At(int(float(x) / scale), int(float(y) / scale));
      if (colour != data.colorKey) image.colors[size_t(y0 + y) * image.width + x0 + x] = colour;
    }
}

platform::Image InstructionsScreen() {
  platform::Image image = Blank(0);
  Painter p(image);
  Gradient(p, Rgb(14, 22, 36), Rgb(24, 30, 52));
  p.Frame(10, 10, kScreenWidth - 10, kScreenHeight - 10, 2, Rgb(120, 140, 190));
  ShadowedText(p, "How to play", 16, 36, Rgb(250, 210, 80));
  struct Line {
    const char* key;
    const char* what;
  };
  const Line hero[] = {
      {"Arrows", "walk"},
      {"D", "fire"},
      {"S", "water shout"},
      {"F", "hold: set a trap"},
      {"T", "taunt"},
  };
  const Line engine[] = {
      {"F1 / F2", "start / stop recording"},
      {"F3 / F4", "replay / end the replay"},
      {"F5 / F6", "save / load a game"},
      {"F7 / F8", "save / load a replay"},
      {"F10", "pause"},
      {"F11", "frame rate"},
      {"F12", "full screen or window"},
      {"Esc", "quit"},
  };
  // What each picture met in a level gives, by its animation entry, as the hero finds them.
  // The letter is the one the small picture carries.
  struct Find {
    int entry;
    const char* letter;
    const char* what;
  };
  const Find finds[] = {
      {6, "H", "Hat: keys can be carried"},
      {10, "K", "Key: three open the door"},
      {13, "M", "Meat: a heart more, up to 4"},
      {8, "F", "Fire: D throws fire"},
      {9, "W", "Water: S shouts walls down"},
      {7, "D", "Dagger: F sets a trap"},
      {11, "B", "Boots: walk faster"},
      {19, "G", "Glass: the covers lift"},
      {15, "", "Door: to the next stage"},
  };
  const uint32_t keyColour = Rgb(250, 210, 80), textColour = Rgb(230, 232, 240);
  const uint32_t headColour = Rgb(160, 180, 230);
  const int left = 30, right = 330, columnEnd = kScreenWidth - 24;
  p.Text("Keys", left, 60, 20, headColour);
  int y = 86;
  for (const Line& line : hero) {
    p.Text(line.key, left, y, 18, keyColour);
    p.Text(line.what, left + 90, y, 18, textColour, "Arial", 400);
    y += 23;
  }
  p.Text("Function keys", left, y + 10, 20, headColour);
  y += 38;
  for (const Line& line : engine) {
    p.Text(line.key, left, y, 16, keyColour);
    p.Text(line.what, left + 75, y, 16, textColour, "Arial", 400);
    y += 21;
  }
  p.Text("What you find", right, 60, 20, headColour);
  const int box = 44, row = 30;
  y = 86;
  for (const Find& find : finds) {
    PasteFrame(image, find.entry, right, y - 4, box, row - 2);
    p.Text(find.letter, right + box + 6, y, 16, keyColour);
    const int textLeft = right + box + 26;
    p.Text(find.what, textLeft, y, p.FittingHeight(find.what, columnEnd - textLeft, 16, "Arial", 400),
           textColour, "Arial", 400);
    y += row;
  }
  p.Text("Take the hat first: then", right, y + 6, 17, Rgb(170, 220, 170), "Arial", 400);
  p.Text("three keys open the door.", right, y + 27, 17, Rgb(170, 220, 170), "Arial", 400);
  return image;
}

platform::Image GameOverScreen() {
  platform::Image image = Blank(0);
  Painter p(image);
  Gradient(p, Rgb(10, 4, 6), Rgb(60, 8, 12));
  ShadowedText(p, "GAME OVER", 228, 80, Rgb(235, 60, 50));
  return image;
}

platform::Image WinScreen() {
  platform::Image image = Blank(0);
  Painter p(image);
  Gradient(p, Rgb(6, 30, 40), Rgb(10, 60, 50));
  for (int i = 0; i < 24; ++i) {
    const float a = 2.0f * kPi * float(i) / 24.0f;
    p.Line(320.0f + std::cos(a) * 200.0f, 200.0f + std::sin(a) * 130.0f,
           320.0f + std::cos(a) * 290.0f, 200.0f + std::sin(a) * 180.0f, 3.0f, Rgb(250, 220, 90));
  }
  ShadowedText(p, "YOU WIN!", 150, 100, Rgb(255, 215, 70));
  return image;
}

void Floor(Painter& p) {
  for (int y = 0; y < p.Height(); y += 32)
    for (int x = 0; x < p.Width(); x += 32)
      p.Rect(x, y, x + 32, y + 32, ((x + y) / 32) % 2 ? kFloorTileOther : kFloorTile);
  for (int y = 0; y < p.Height(); y += 32) p.Rect(0, y, p.Width(), y + 1, kFloorGrout);
  for (int x = 0; x < p.Width(); x += 32) p.Rect(x, 0, x + 1, p.Height(), kFloorGrout);
}

platform::Image LevelPicture(const game::MapRow& map) {
  platform::Image image = Blank(0);
  Painter p(image);
  Floor(p);
  std::vector<std::vector<Spot>> rooms;
  for (const game::Polyline& line : map.walls) {
    if (!line.Closed()) continue;
    std::vector<Spot> outline;
    for (uint16_t i = 0; i + 1 < line.count; ++i)
      outline.push_back({float(line.points[i].x), float(line.points[i].y)});
    rooms.push_back(outline);
  }
  // Wall wherever an even number of outlines hold the pixel: first all wall, then the
  // floor (odd) is painted back from a copy.
  if (!rooms.empty()) {
    platform::Image floor = image;
    p.Rect(0, 0, kScreenWidth, kScreenHeight, kWallFace);
    platform::Image odd = Blank(0);
    Painter mark(odd);
    mark.EvenOdd(rooms, kWhite);
    for (size_t i = 0; i < image.colors.size(); ++i)
      if (odd.colors[i] == kWhite) image.colors[i] = floor.colors[i];
  }
  for (const game::Polyline& line : map.walls) {
    if (line.Closed()) continue;
    for (uint16_t i = 0; i + 1 < line.count; ++i)
      p.Line(line.points[i].x, line.points[i].y, line.points[i + 1].x, line.points[i + 1].y, 3.0f,
             kWallFace);
  }
  // A lighter edge where wall meets floor, so that every wall reads at a glance.
  const platform::Image plain = image;
  auto isWall = [&](int x, int y) {
    return x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight || plain.At(x, y) == kWallFace;
  };
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      if (isWall(x, y) &&
          !(isWall(x - 1, y) && isWall(x + 1, y) && isWall(x, y - 1) && isWall(x, y + 1)))
        image.colors[size_t(y) * kScreenWidth + x] = kWallEdge;
  return image;
}

platform::Image MistPicture(const game::MapRow& map) {
  platform::Image image = Blank(kWhite);
  // The mist lies over the scene and the display keys out white whole, so the streaks are
  // dotted, densest along their middle, and what lies beneath shows between the dots.
  static constexpr int kDither[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  uint32_t seed = uint32_t(Fingerprint(std::string(map.bitmap)));
  for (int streak = 0; streak < 6; ++streak) {
    seed = seed * 1103515245u + 12345u;
    const float centre = 30.0f + float((seed >> 8) % 420);
    const float swing = 8.0f + float((seed >> 4) % 24);
    // Whole waves across the width, so that the drifting mist has no seam.
    const float waves = float(1 + (seed >> 12) % 3);
    const float thickness = 6.0f + float((seed >> 16) % 10);
    const int grey = 175 + int((seed >> 20) % 50);
    for (int x = 0; x < kScreenWidth; ++x) {
      const float middle =
          centre + swing * std::sin(2.0f * kPi * waves * x / kScreenWidth + streak);
      for (int y = int(middle - thickness); y <= int(middle + thickness); ++y) {
        if (y < 0 || y >= kScreenHeight) continue;
        const float density = 0.55f * (1.0f - std::fabs(y - middle) / thickness);
        if (density * 16.0f <= float(kDither[y % 4][x % 4])) continue;
        image.colors[size_t(y) * kScreenWidth + x] = Rgb(grey, grey, std::min(255, grey + 6));
      }
    }
  }
  return image;
}

platform::Image NamedScreen(const game::MapRow& map) {
  platform::Image image = Blank(0);
  Painter p(image);
  Floor(p);
  ShadowedText(p, map.name, 200, 48, Rgb(230, 230, 240));
  return image;
}

}  // namespace

platform::Image MapPicture(const game::MapRow& map) {
  if (map.whiteKey) return MistPicture(map);
  if (map.walls.count > 0) return LevelPicture(map);
  const std::string name = map.bitmap;
  if (name == "BlackScreen.bmp") return Blank(Rgb(0, 0, 0));
  if (name == "Title Screen.bmp") return TitleScreen();
  if (name == "Instructions.bmp") return InstructionsScreen();
  if (name == "GameOver.bmp") return GameOverScreen();
  if (name == "YOUWIN.bmp") return WinScreen();
  return NamedScreen(map);
}

}  // namespace standins
