#include "tools/standins/frame_pictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "game/animation/animation_data.h"
#include "tools/standins/painter.h"

namespace standins {

namespace {

constexpr float kPi = 3.14159265f;

// How an entry's pictures are drawn beyond the family's colour.
enum class Look : uint8_t {
  kFigure,   // a body with its details
  kCounter,  // a row of slots, the frame number of them filled
  kPrompt,   // "Press Space"
  kFilm,     // the opening film: the hero walking past something new in each action
  kFall,     // the hero falling down a shaft
  kLight,    // a pool of light
};

struct Style {
  Family family;
  Look look;
  const char* label = nullptr;  // the letter an item shows
};

// By animation entry: what each entry animates decides its family.
constexpr Style kStyles[] = {
    {Family::kMonster, Look::kFigure},    // 0 "Mellon Man"
    {Family::kFixture, Look::kFigure},    // 1 secret doors, spotlight, blob stopper
    {Family::kShot, Look::kFigure},       // 2 "FireBall"
    {Family::kMonster, Look::kFigure},    // 3 spears
    {Family::kHero, Look::kFigure},       // 4 the hero
    {Family::kMonster, Look::kFigure},    // 5 "Spinner1"
    {Family::kItem, Look::kFigure, "H"},  // 6 "Hat"
    {Family::kItem, Look::kFigure, "D"},  // 7 "Dagger"
    {Family::kItem, Look::kFigure, "F"},  // 8 "FireIcon"
    {Family::kItem, Look::kFigure, "W"},  // 9 "WaterIcon"
    {Family::kItem, Look::kFigure, "K"},  // 10 "Keys"
    {Family::kItem, Look::kFigure, "B"},  // 11 "Boot"
    {Family::kShot, Look::kFigure},       // 12 "FireBlast"
    {Family::kItem, Look::kFigure, "M"},  // 13 "Meat"
    {Family::kItem, Look::kCounter},      // 14 "Hearts"
    {Family::kFixture, Look::kFigure},    // 15 "Door"
    {Family::kItem, Look::kPrompt},       // 16 the prompts to press Space
    {Family::kMonster, Look::kFigure},    // 17 "Helmit"
    {Family::kFixture, Look::kFigure},    // 18 covers
    {Family::kItem, Look::kFigure, "G"},  // 19 "Glass"
    {Family::kShot, Look::kFigure},       // 20 "Trap"
    {Family::kFixture, Look::kFigure},    // 21 "Wall"
    {Family::kMonster, Look::kFigure},    // 22 never filled
    {Family::kShot, Look::kFigure},       // 23 laser beams
    {Family::kShot, Look::kFigure},       // 24 laser emitters
    {Family::kHero, Look::kFall},         // 25 "Falling"
    {Family::kBoss, Look::kCounter},      // 26 "BLife"
    {Family::kHero, Look::kFilm},         // 27 "AniCon"
    {Family::kBoss, Look::kFigure},       // 28 "Demon"
    {Family::kShot, Look::kFigure},       // 29 the first boss's shots
    {Family::kBoss, Look::kFigure},       // 30 "Tenma"
    {Family::kShot, Look::kFigure},       // 31 the final boss's shots
    {Family::kBoss, Look::kCounter},      // 32 "TenmaLife"
};

enum class Facing : uint8_t { kNone, kDown, kUp, kLeft, kRight };

struct ActionRow {
  int8_t entry;
  int8_t action;
  Facing facing;
};

// The actions that face one way.
constexpr ActionRow kFacings[] = {
    {0, 0, Facing::kDown},   {0, 1, Facing::kUp},  // Mellon Men throw down or up
    {2, 0, Facing::kDown},   {2, 1, Facing::kUp},  // their fire balls
    {4, 0, Facing::kDown},   {4, 1, Facing::kLeft},  {4, 2, Facing::kRight},
    {4, 3, Facing::kUp},     {4, 4, Facing::kDown},  {4, 5, Facing::kUp},
    {4, 6, Facing::kLeft},   {4, 7, Facing::kRight},  // the hero walking and shouting
    {17, 0, Facing::kDown},  {17, 1, Facing::kUp},   {17, 2, Facing::kLeft},
    {17, 3, Facing::kRight},  // the guards
};

Style StyleOf(int entry, int action) {
  // The spotlight of the game-over scene shares the doors' entry.
  if (entry == 1 && action == 3) return {Family::kFixture, Look::kLight};
  if (entry < 0 || entry >= static_cast<int>(sizeof kStyles / sizeof kStyles[0]))
    return {Family::kMonster, Look::kFigure};
  return kStyles[entry];
}

Facing FacingOf(int entry, int action) {
  for (const ActionRow& row : kFacings)
    if (row.entry == entry && row.action == action) return row.facing;
  return Facing::kNone;
}

constexpr uint32_t kEye = Rgb(250, 250, 240);
constexpr uint32_t kPupil = Rgb(20, 20, 30);
constexpr uint32_t kOpaqueBackground = Rgb(28, 26, 34);

// What a picture is drawn with, in frame pixels.
struct Sheet {
  platform::Image& image;
  Painter& paint;
  uint32_t background;
  int w, h;
  int frame, frameCount, action;
  float Phase() const { return frameCount > 1 ? float(frame) / float(frameCount) : 0.0f; }
  float Progress() const { return frameCount > 1 ? float(frame) / float(frameCount - 1) : 1.0f; }
};

// The frame's collision outline as one polygon, when its segments run end to end.
bool OutlinePolygon(const game::FrameData& data, std::vector<Spot>& polygon) {
  const game::ShapeList& list = data.shapes;
  int segments = 0;
  for (uint16_t i = 0; i < list.count; ++i) {
    const game::Shape& s = list.shapes[i];
    if (s.kind != game::Shape::kSegment) continue;
    if (!polygon.empty() && (polygon.back().x != s.a || polygon.back().y != s.b)) return false;
    if (polygon.empty()) polygon.push_back({float(s.a), float(s.b)});
    polygon.push_back({float(s.c), float(s.d)});
    ++segments;
  }
  if (segments < 3) return false;
  float area = 0.0f;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Spot& a = polygon[i];
    const Spot& b = polygon[(i + 1) % polygon.size()];
    area += a.x * b.y - b.x * a.y;
  }
  // An outline that covers little of its picture would leave the figure unreadable.
  return std::fabs(area) / 2.0f >= 0.25f * float(data.width) * float(data.height);
}

// The hero's shape: a head, a body and two legs, one lifted on every other step; with a
// face, it looks out of the picture.
void HeroBody(Painter& p, float left, float top, float w, float h, uint32_t colour, int step,
              bool face) {
  const float head = std::max(2.0f, std::min(w, h) * 0.24f);
  p.Circle(left + w / 2.0f, top + head + 0.5f, head, colour);
  if (face && head >= 4.0f) {
    p.Circle(left + w / 2.0f - head * 0.4f, top + head, head * 0.22f, kEye);
    p.Circle(left + w / 2.0f + head * 0.4f, top + head, head * 0.22f, kEye);
  }
  p.Ellipse(left + w * 0.15f, top + h * 0.33f, left + w * 0.85f, top + h * 0.82f, colour);
  const float legTop = top + h * 0.72f, legW = std::max(1.0f, w * 0.18f);
  const float lift = (step % 2) ? h * 0.08f : 0.0f;
  p.Rect(int(left + w * 0.28f), int(legTop), int(left + w * 0.28f + legW), int(top + h - lift),
         colour);
  p.Rect(int(left + w * 0.72f - legW), int(legTop), int(left + w * 0.72f),
         int(top + h - (h * 0.08f - lift)), colour);
}

// The figure's body when its outline cannot serve.
void DefaultBody(Sheet& s, Family family, uint32_t colour) {
  Painter& p = s.paint;
  const float w = float(s.w), h = float(s.h);
  switch (family) {
    case Family::kHero:
      HeroBody(p, 0.0f, 0.0f, w, h, colour, s.frameCount > 1 ? s.frame : 0, false);
      break;
    case Family::kMonster:
    case Family::kBoss: {
      p.Ellipse(w * 0.12f, h * 0.12f, w * 0.88f, h * 0.92f, colour);
      // Spikes around the body that turn from frame to frame.
      const int spikes = family == Family::kBoss ? 8 : 6;
      for (int i = 0; i < spikes; ++i) {
        const float a = 2.0f * kPi * (float(i) / spikes + s.Phase() / spikes);
        const float cx = w / 2.0f, cy = h * 0.52f;
        p.Line(cx + std::cos(a) * w * 0.3f, cy + std::sin(a) * h * 0.3f,
               cx + std::cos(a) * w * 0.48f, cy + std::sin(a) * h * 0.46f,
               std::max(1.5f, std::min(w, h) * 0.1f), colour);
      }
      break;
    }
    case Family::kShot:
      if (w >= 2.0f * h || h >= 2.0f * w) {
        const float r = std::min(w, h) * 0.45f;
        if (w >= h)
          p.Line(r, h / 2.0f, w - r, h / 2.0f, 2.0f * r, colour);
        else
          p.Line(w / 2.0f, r, w / 2.0f, h - r, 2.0f * r, colour);
      } else {
        p.Ellipse(0.5f, 0.5f, w - 0.5f, h - 0.5f, colour);
      }
      break;
    case Family::kItem: {
      const int corner = std::max(1, std::min(s.w, s.h) / 5);
      p.Rect(corner, 0, s.w - corner, s.h, colour);
      p.Rect(0, corner, s.w, s.h - corner, colour);
      break;
    }
    case Family::kFixture:
      p.Rect(0, 0, s.w, s.h, colour);
      break;
  }
}

// A darker rim where the body meets the background.
void Rim(Sheet& s, uint32_t colour) {
  // Small pictures keep their body colour: a rim would be all there is.
  if (s.w < 8 || s.h < 8) return;
  const uint32_t ink = s.paint.Ink(colour);
  std::vector<size_t> edge;
  auto empty = [&](int x, int y) {
    return x < 0 || y < 0 || x >= s.w || y >= s.h || s.image.At(x, y) == s.background;
  };
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x)
      if (!empty(x, y) &&
          (empty(x - 1, y) || empty(x + 1, y) || empty(x, y - 1) || empty(x, y + 1)))
        edge.push_back(size_t(y) * s.w + x);
  for (size_t i : edge) s.image.colors[i] = ink;
}

void Eyes(Sheet& s, Facing facing, float cy, float size) {
  Painter& p = s.paint;
  const float cx = s.w / 2.0f, gap = std::max(1.5f, s.w * 0.16f);
  const float r = std::max(1.0f, size);
  switch (facing) {
    case Facing::kUp:
      return;  // seen from behind
    case Facing::kLeft:
      p.Circle(cx - gap * 1.2f, cy, r, kEye);
      p.Circle(cx - gap * 1.2f - r * 0.4f, cy, r * 0.5f, kPupil);
      return;
    case Facing::kRight:
      p.Circle(cx + gap * 1.2f, cy, r, kEye);
      p.Circle(cx + gap * 1.2f + r * 0.4f, cy, r * 0.5f, kPupil);
      return;
    default:
      p.Circle(cx - gap, cy, r, kEye);
      p.Circle(cx + gap, cy, r, kEye);
      p.Circle(cx - gap, cy + r * 0.3f, r * 0.5f, kPupil);
      p.Circle(cx + gap, cy + r * 0.3f, r * 0.5f, kPupil);
  }
}

// A wedge at the body's edge pointing the way the action faces.
void FacingMark(Sheet& s, Facing facing) {
  const float w = float(s.w), h = float(s.h);
  const float size = std::max(2.0f, std::min(w, h) * 0.28f);
  std::vector<Spot> wedge;
  switch (facing) {
    case Facing::kDown:
      wedge = {{w / 2 - size, h - 1 - size}, {w / 2 + size, h - 1 - size}, {w / 2, h - 0.5f}};
      break;
    case Facing::kUp:
      wedge = {{w / 2 - size, size + 0.5f}, {w / 2 + size, size + 0.5f}, {w / 2, 0.0f}};
      break;
    case Facing::kLeft:
      wedge = {{size + 0.5f, h / 2 - size}, {size + 0.5f, h / 2 + size}, {0.0f, h / 2}};
      break;
    case Facing::kRight:
      wedge = {{w - 1 - size, h / 2 - size}, {w - 1 - size, h / 2 + size}, {w - 0.5f, h / 2}};
      break;
    case Facing::kNone:
      return;
  }
  s.paint.Polygon(wedge, kFacingMark);
}

// A bright dot that goes round the body once per cycle of the action.
void Tick(Sheet& s) {
  if (s.frameCount < 2) return;
  const float a = 2.0f * kPi * s.Phase() - kPi / 2.0f;
  const float r = std::max(1.0f, std::min(s.w, s.h) * 0.12f);
  s.paint.Circle(s.w / 2.0f + std::cos(a) * s.w * 0.3f, s.h / 2.0f + std::sin(a) * s.h * 0.3f, r,
                 Rgb(255, 255, 200));
}

// An item's letter, or else the first letter or digit of its file name.
std::string Label(const Style& style, const char* bitmap) {
  if (style.label) return style.label;
  for (const char* c = bitmap; *c; ++c)
    if (std::isalnum(static_cast<unsigned char>(*c)))
      return std::string(1, char(std::toupper(static_cast<unsigned char>(*c))));
  return "?";
}

void Details(Sheet& s, const Style& style, Facing facing, const game::FrameData& data) {
  const Family family = style.family;
  Painter& p = s.paint;
  const uint32_t base = FamilyColour(family);
  const float w = float(s.w), h = float(s.h);
  switch (family) {
    case Family::kHero:
      Eyes(s, facing, std::max(2.0f, std::min(w, h) * 0.24f) + 1.0f, std::min(w, h) * 0.08f);
      break;
    case Family::kMonster:
    case Family::kBoss:
      Eyes(s, facing, h * 0.42f, std::min(w, h) * (family == Family::kBoss ? 0.1f : 0.08f));
      if (family == Family::kBoss) {
        // A crown band.
        p.Rect(int(w * 0.3f), int(h * 0.14f), int(w * 0.7f),
               int(h * 0.14f + std::max(2.0f, h * 0.06f)), Rgb(250, 210, 70));
      }
      break;
    case Family::kShot: {
      const float pulse = 0.25f + 0.15f * std::sin(2.0f * kPi * s.Phase());
      p.Ellipse(w * (0.5f - pulse), h * (0.5f - pulse), w * (0.5f + pulse), h * (0.5f + pulse),
                Rgb(255, 250, 190));
      break;
    }
    case Family::kItem: {
      const int height = std::max(6, std::min(s.h - 2, s.w));
      p.CentredText(Label(style, data.bitmap), s.w / 2, (s.h - height) / 2, height,
                    Shade(base, 0.3f));
      break;
    }
    case Family::kFixture: {
      // Bricks, a shade per action, and an opening that widens frame by frame.
      const uint32_t mortar = Shade(base, 0.55f + 0.08f * float(s.action % 4));
      const int course = std::max(3, s.h / 6);
      for (int y = course; y < s.h; y += course) p.Rect(0, y, s.w, y + 1, mortar);
      for (int y = 0, row = 0; y < s.h; y += course, ++row)
        for (int x = (row % 2) * course; x < s.w; x += 2 * course)
          p.Rect(x, y, x + 1, y + course, mortar);
      break;
    }
  }
  FacingMark(s, facing);
  Tick(s);
}

// A fixture's opening: the background shows through a gap that grows with the frame.
void Opening(Sheet& s) {
  if (s.frameCount < 2 || s.frame == 0) return;
  const int gap = std::max(1, int(std::lround(s.w * 0.8f * s.Progress())));
  const int left = (s.w - gap) / 2;
  for (int y = 0; y < s.h; ++y)
    for (int x = left; x < left + gap; ++x) s.image.colors[size_t(y) * s.w + x] = s.background;
}

// Whether the frame's outline faces inward: a fence that holds things in, not a body.
bool IsFence(const game::FrameData& data) {
  int segments = 0, inward = 0;
  for (uint16_t i = 0; i < data.shapes.count; ++i) {
    const game::Shape& shape = data.shapes.shapes[i];
    if (shape.kind != game::Shape::kSegment) continue;
    ++segments;
    // The normal is the direction turned a quarter counter-clockwise on screen.
    const float nx = float(shape.b - shape.d), ny = float(shape.c - shape.a);
    const float tx = data.width / 2.0f - (shape.a + shape.c) / 2.0f;
    const float ty = data.height / 2.0f - (shape.b + shape.d) / 2.0f;
    if (nx * tx + ny * ty > 0.0f) ++inward;
  }
  return segments >= 3 && 2 * inward > segments;
}

void DrawFigure(Sheet& s, const Style& style, Facing facing, const game::FrameData& data) {
  const Family family = style.family;
  const uint32_t base = FamilyColour(family);
  std::vector<Spot> outline;
  if (IsFence(data)) {
    // Only the fence itself is drawn: what it holds in stays in sight.
    for (uint16_t i = 0; i < data.shapes.count; ++i) {
      const game::Shape& shape = data.shapes.shapes[i];
      if (shape.kind == game::Shape::kSegment)
        s.paint.Line(shape.a, shape.b, shape.c, shape.d, 4.0f, base);
    }
    return;
  }
  if (OutlinePolygon(data, outline))
    s.paint.Polygon(outline, base);
  else
    DefaultBody(s, family, base);
  for (uint16_t i = 0; i < data.shapes.count; ++i) {
    const game::Shape& shape = data.shapes.shapes[i];
    if (shape.kind == game::Shape::kCircle) s.paint.Circle(shape.a, shape.b, shape.c, base);
  }
  Rim(s, Shade(base, 0.5f));
  s.paint.KeepInside(s.background);
  Details(s, style, facing, data);
  s.paint.DrawAnywhere();
  if (family == Family::kFixture) Opening(s);
}

void DrawCounter(Sheet& s, Family family) {
  const int slots = std::max(1, s.frameCount - 1);
  const int filled = std::clamp(s.frame, 0, slots);
  const bool across = s.w >= s.h;
  const float length = float(across ? s.w : s.h) / float(slots);
  const uint32_t base = FamilyColour(family);
  for (int i = 0; i < slots; ++i) {
    const float from = i * length;
    float left = across ? from : 0.0f, top = across ? 0.0f : from;
    float right = across ? from + length : float(s.w), bottom = across ? float(s.h) : from + length;
    s.paint.Rect(int(left), int(top), int(std::ceil(right)), int(std::ceil(bottom)),
                 Shade(base, 0.25f));
    if (i >= filled) continue;
    left += 1.0f;
    top += 1.0f;
    right -= 1.0f;
    bottom -= 1.0f;
    if (family == Family::kItem) {
      // A heart: two lobes over a point.
      const float cw = right - left, ch = bottom - top;
      s.paint.Circle(left + cw * 0.3f, top + ch * 0.35f, cw * 0.27f, base);
      s.paint.Circle(left + cw * 0.7f, top + ch * 0.35f, cw * 0.27f, base);
      s.paint.Polygon({{left + cw * 0.05f, top + ch * 0.45f},
                       {right - cw * 0.05f, top + ch * 0.45f},
                       {left + cw * 0.5f, bottom}},
                      base);
    } else {
      s.paint.Rect(int(left), int(top), int(std::ceil(right)), int(std::ceil(bottom)), base);
    }
  }
}

void DrawPrompt(Sheet& s) {
  // Two frames blink: a bright plate, then a dim one.
  const bool bright = s.frame % 2 == 0;
  const uint32_t plate = bright ? Rgb(250, 215, 60) : Rgb(110, 90, 30);
  const uint32_t ink = bright ? Rgb(30, 20, 10) : Rgb(250, 235, 170);
  s.paint.Rect(0, 0, s.w, s.h, plate);
  s.paint.Frame(0, 0, s.w, s.h, std::max(1, s.h / 16), Shade(plate, 0.6f));
  const std::string text = "Press Space";
  const int height = s.paint.FittingHeight(text, s.w - 8, std::max(6, s.h - 6));
  s.paint.CentredText(text, s.w / 2, (s.h - height) / 2, height, ink);
}

void DrawFilm(Sheet& s) {
  Painter& p = s.paint;
  p.Rect(0, 0, s.w, s.h, Rgb(18, 24, 60));
  p.Frame(0, 0, s.w, s.h, std::max(1, s.w / 60), Rgb(90, 100, 160));
  const float figureH = s.h * 0.45f, figureW = figureH * 0.7f;
  const float ground = s.h * 0.85f;
  p.Rect(0, int(ground), s.w, s.h, Rgb(40, 50, 90));
  // Each act brings the hero past something new: nothing yet, a monster, a key, a door, a
  // boss, and a flash at the end.
  const Family props[] = {Family::kHero,    Family::kMonster, Family::kItem,
                          Family::kFixture, Family::kBoss,    Family::kShot};
  const int act = std::clamp(s.action, 0, 5);
  const float x = s.w * 0.08f + (s.w * 0.84f - figureW) * s.Progress();
  if (act > 0) {
    const uint32_t colour = FamilyColour(props[act]);
    const float size = figureH * (act == 4 ? 1.3f : act == 5 ? 1.6f : 0.8f);
    const float px = s.w * 0.7f, py = ground - size;
    switch (props[act]) {
      case Family::kFixture:
        p.Rect(int(px), int(py), int(px + size * 0.7f), int(ground), colour);
        p.Frame(int(px), int(py), int(px + size * 0.7f), int(ground), 2, Shade(colour, 0.5f));
        break;
      case Family::kItem:
        p.Rect(int(px), int(ground - size * 0.6f), int(px + size * 0.6f), int(ground), colour);
        p.CentredText("K", int(px + size * 0.3f), int(ground - size * 0.55f), int(size * 0.5f),
                      Shade(colour, 0.3f));
        break;
      case Family::kShot:
        // The flash at the end: rays from the middle of the picture.
        for (int i = 0; i < 12; ++i) {
          const float a = 2.0f * kPi * i / 12.0f + s.Phase();
          p.Line(s.w / 2.0f, s.h / 2.0f, s.w / 2.0f + std::cos(a) * s.w,
                 s.h / 2.0f + std::sin(a) * s.h, 3.0f, colour);
        }
        break;
      default:
        p.Ellipse(px, py, px + size, ground, colour);
        p.Circle(px + size * 0.35f, py + size * 0.4f, size * 0.08f, kEye);
        p.Circle(px + size * 0.65f, py + size * 0.4f, size * 0.08f, kEye);
        if (props[act] == Family::kBoss)
          p.Rect(int(px + size * 0.3f), int(py + size * 0.08f), int(px + size * 0.7f),
                 int(py + size * 0.16f), Rgb(250, 210, 70));
    }
  }
  HeroBody(p, x, ground - figureH, figureW, figureH, FamilyColour(Family::kHero), s.frame, true);
  const int caption = std::max(7, s.h / 8);
  p.Text(std::to_string(act + 1) + " / 6", std::max(2, s.w / 40), std::max(1, s.h / 40), caption,
         Rgb(220, 225, 255));
}

void DrawFall(Sheet& s) {
  Painter& p = s.paint;
  p.Rect(0, 0, s.w, s.h, Rgb(12, 12, 16));
  const int wall = std::max(2, s.w / 8);
  const uint32_t stone = Rgb(70, 66, 76);
  p.Rect(0, 0, wall, s.h, stone);
  p.Rect(s.w - wall, 0, s.w, s.h, stone);
  // The shaft's joints rush upward as the hero falls.
  const int course = std::max(4, s.h / 8);
  const int shift = int(s.Phase() * course * 4) % course;
  for (int y = -shift; y < s.h; y += course) {
    p.Rect(0, y, wall, y + 1, Shade(stone, 0.5f));
    p.Rect(s.w - wall, y, s.w, y + 1, Shade(stone, 0.5f));
  }
  const float figureH = std::min(s.h * 0.35f, (s.w - 2.0f * wall) * 1.2f), figureW = figureH * 0.7f;
  const float x = (s.w - figureW) / 2.0f;
  if (s.action >= 2) {
    // The landing: the hero squats on the floor and rises, dust spreading either side.
    const float squat = 1.0f - 0.3f * std::sin(kPi * s.Progress());
    const float dust = figureW * (0.2f + 0.8f * s.Progress());
    p.Ellipse(x - dust, s.h - figureH * 0.2f, x + figureW + dust, float(s.h), Rgb(110, 100, 90));
    HeroBody(p, x, s.h - figureH * squat, figureW, figureH * squat, FamilyColour(Family::kHero), 0,
             true);
    return;
  }
  const float y = (s.h - figureH) * s.Progress();
  for (int i = 0; i < 3; ++i) {
    const float sx = x + figureW * (0.2f + 0.3f * i);
    p.Line(sx, std::max(0.0f, y - figureH * 0.8f), sx, y, 1.0f, Rgb(160, 160, 180));
  }
  HeroBody(p, x, y, figureW, figureH, FamilyColour(Family::kHero), s.frame, true);
}

void DrawLight(Sheet& s) {
  const float w = float(s.w), h = float(s.h);
  s.paint.Ellipse(0.5f, 0.5f, w - 0.5f, h - 0.5f, Rgb(200, 190, 120));
  s.paint.Ellipse(w * 0.15f, h * 0.15f, w * 0.85f, h * 0.85f, Rgb(235, 225, 160));
  s.paint.Ellipse(w * 0.3f, h * 0.3f, w * 0.7f, h * 0.7f, Rgb(255, 250, 210));
}

}  // namespace

Family FamilyOf(int entry) { return StyleOf(entry, 0).family; }

uint32_t FamilyColour(Family family) {
  switch (family) {
    case Family::kHero:
      return Rgb(60, 110, 235);
    case Family::kMonster:
      return Rgb(215, 45, 40);
    case Family::kShot:
      return Rgb(255, 145, 20);
    case Family::kItem:
      return Rgb(70, 195, 80);
    case Family::kFixture:
      return Rgb(150, 105, 60);
    case Family::kBoss:
      return Rgb(155, 60, 200);
  }
  return Rgb(128, 128, 128);
}

platform::Image FramePicture(const FrameRequest& request) {
  const game::FrameData& data = *request.data;
  platform::Image image;
  image.width = std::max<int>(1, data.width);
  image.height = std::max<int>(1, data.height);
  const bool opaque = data.departures.opaque;
  const uint32_t background = opaque ? kOpaqueBackground : data.colorKey;
  image.colors.assign(size_t(image.width) * image.height, background);
  Painter paint(image, data.colorKey);
  Sheet sheet{image,        paint,         background,         image.width,
              image.height, request.frame, request.frameCount, request.action};
  const Style style = StyleOf(request.entry, request.action);
  switch (style.look) {
    case Look::kFigure:
      DrawFigure(sheet, style, FacingOf(request.entry, request.action), data);
      break;
    case Look::kCounter:
      DrawCounter(sheet, style.family);
      break;
    case Look::kPrompt:
      DrawPrompt(sheet);
      break;
    case Look::kFilm:
      DrawFilm(sheet);
      break;
    case Look::kFall:
      DrawFall(sheet);
      break;
    case Look::kLight:
      DrawLight(sheet);
      break;
  }
  return image;
}

}  // namespace standins
