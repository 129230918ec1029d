// The form of the game's animation data: constant tables of entries, actions, frames and
// collision shapes, walked by one filling routine. The tables are the one source that the
// game, the stand-in pictures and the tests read.
//
// A frame is one line: bitmap, size, colour key, duration, then its outline and whatever
// departs from the common values (collision rectangle (0, 0, w - 1, h - 1), centre and
// anchor at half the size, drawn with its colour key):
//
//   {"FC - Walk L4.bmp", 17, 23, 0x8080, 9, kWalkLeftOutline, CollisionRect(0, 0, 9, 21)},
//   {"Life 0.bmp", 45, 8, 0xC8D0D4, 1, {}, kOpaque},
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace game {

// Whole frame pixels: x to the right and y downward from the picture's top-left corner.
struct Vertex {
  int16_t x;
  int16_t y;
};

// One collision shape in the order it is added to its frame.
struct Shape {
  enum Kind : uint8_t { kSegment, kCircle };
  Kind kind;
  int16_t a, b, c, d;  // segment: x1, y1, x2, y2; circle: centre x, centre y, radius
};

constexpr Shape Segment(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  return Shape{Shape::kSegment, x1, y1, x2, y2};
}
constexpr Shape Circle(int16_t x, int16_t y, int16_t radius) {
  return Shape{Shape::kCircle, x, y, radius, 0};
}

// Segments from each vertex to the next, in order: N vertices give N - 1 segments.
template <size_t N>
constexpr std::array<Shape, N - 1> Chain(const Vertex (&v)[N]) {
  std::array<Shape, N - 1> shapes{};
  for (size_t i = 0; i + 1 < N; ++i) shapes[i] = Segment(v[i].x, v[i].y, v[i + 1].x, v[i + 1].y);
  return shapes;
}

// A chain that ends where it began: N vertices give N segments, the last back to the first.
template <size_t N>
constexpr std::array<Shape, N> Loop(const Vertex (&v)[N]) {
  std::array<Shape, N> shapes{};
  for (size_t i = 0; i < N; ++i)
    shapes[i] = Segment(v[i].x, v[i].y, v[(i + 1) % N].x, v[(i + 1) % N].y);
  return shapes;
}

// Two lists of shapes one after the other.
template <size_t A, size_t B>
constexpr std::array<Shape, A + B> Join(const std::array<Shape, A>& first,
                                        const std::array<Shape, B>& second) {
  std::array<Shape, A + B> shapes{};
  for (size_t i = 0; i < A; ++i) shapes[i] = first[i];
  for (size_t i = 0; i < B; ++i) shapes[A + i] = second[i];
  return shapes;
}

// A frame's shapes, pointing into a constant table.
struct ShapeList {
  const Shape* shapes = nullptr;
  uint16_t count = 0;

  constexpr ShapeList() = default;
  template <size_t N>
  constexpr ShapeList(const std::array<Shape, N>& list) : shapes(list.data()), count(N) {}
  template <size_t N>
  constexpr ShapeList(const Shape (&list)[N]) : shapes(list), count(N) {}
};

struct FrameRect {
  int16_t left, top, right, bottom;  // inclusive frame pixels
};

// What a frame does differently from the common values.
struct Departures {
  bool hasRect = false;    // the collision rectangle, when not the whole picture
  FrameRect rect = {};
  bool hasCentre = false;  // centre and anchor, when not half the size
  Vertex centre = {};
  bool opaque = false;     // drawn whole, key colour included

  constexpr Departures Rect(int16_t l, int16_t t, int16_t r, int16_t b) const {
    return Departures{true, FrameRect{l, t, r, b}, hasCentre, centre, opaque};
  }
  constexpr Departures Centre(int16_t x, int16_t y) const {
    return Departures{hasRect, rect, true, Vertex{x, y}, opaque};
  }
  constexpr Departures Opaque() const {
    return Departures{hasRect, rect, hasCentre, centre, true};
  }
};

constexpr Departures CollisionRect(int16_t l, int16_t t, int16_t r, int16_t b) {
  return Departures{}.Rect(l, t, r, b);
}
constexpr Departures CentreAt(int16_t x, int16_t y) { return Departures{}.Centre(x, y); }
constexpr Departures kOpaque = Departures{}.Opaque();

struct FrameData {
  const char* bitmap;  // the bitmap's file name, at most 31 characters
  int16_t width;
  int16_t height;
  uint32_t colorKey;   // COLORREF 0x00BBGGRR
  uint16_t duration;   // ticks
  ShapeList shapes = {};
  Departures departures = {};
};

struct ActionData {
  const FrameData* frames;
  uint16_t count;
  int32_t loopStart;

  template <size_t N>
  constexpr ActionData(const FrameData (&list)[N], int32_t loop = 0)
      : frames(list), count(N), loopStart(loop) {}
};

struct EntryData {
  const ActionData* actions = nullptr;
  uint16_t count = 0;

  constexpr EntryData() = default;
  template <size_t N>
  constexpr EntryData(const ActionData (&list)[N]) : actions(list), count(N) {}
};

// The data of every entry the game fills, by table index; an empty entry (no actions) for
// an index the game never fills.
const EntryData& AnimationEntryData(int index);

// The entries of the game, one per animated thing, each defined once.
extern const EntryData kMellonManSet;     // 0
extern const EntryData kDoorsSet;         // 1: secret doors, spotlight, blob stopper
extern const EntryData kFireBallSet;      // 2
extern const EntryData kSpearSet;         // 3
extern const EntryData kHeroSet;          // 4
extern const EntryData kSpinnerSet;       // 5
extern const EntryData kHatSet;           // 6
extern const EntryData kDaggerSet;        // 7
extern const EntryData kFireIconSet;      // 8
extern const EntryData kWaterIconSet;     // 9
extern const EntryData kKeysSet;          // 10
extern const EntryData kBootSet;          // 11
extern const EntryData kFireBlastSet;     // 12
extern const EntryData kMeatSet;          // 13
extern const EntryData kHeartsSet;        // 14
extern const EntryData kDoorSet;          // 15
extern const EntryData kPromptSet;        // 16
extern const EntryData kHelmitSet;        // 17
extern const EntryData kCoversSet;        // 18
extern const EntryData kGlassSet;         // 19
extern const EntryData kTrapSet;          // 20
extern const EntryData kWallSet;          // 21
extern const EntryData kLaserBeamSet;     // 23
extern const EntryData kLaserTrapSet;     // 24
extern const EntryData kFallingSet;       // 25
extern const EntryData kDemonLifeSet;     // 26
extern const EntryData kIntroSet;         // 27
extern const EntryData kDemonSet;         // 28
extern const EntryData kDemonAttackSet;   // 29
extern const EntryData kTenmaSet;         // 30
extern const EntryData kTenmaAttackSet;   // 31
extern const EntryData kTenmaLifeSet;     // 32

}  // namespace game
