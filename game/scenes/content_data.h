// The form of the scenes' content: one constant table per scene, walked by one builder
// (BuildSceneContent). The tables are the one source that the game, the stand-in pictures
// and sounds, and the tests read.
//
// The builder makes every call in the order a scene is filled: scene and view settings,
// the streamed sounds, the sounds, the first map, the music, the further maps, the
// sprites, the text boxes. Every sprite belongs to the first map.
//
// A scene's table, with its rows defined above it:
//
//   constexpr SoundRow kLevel2Streams[] = {{"Level2", kDungeonMusic}};
//   constexpr SoundRow kLevel2Sounds[] = {kKeySound, kMeatSound, kFireballSound};
//   constexpr MapRow kLevel2Maps[] = {LevelMap("Level2", "Level 2.bmp", kLevel2Walls)};
//   constexpr SceneContent kLevel2Content{kLevel2Streams, kLevel2Sounds, kLevel2Maps, "Level2",
//                                         kLevel2Sprites};
//
// Maps come in three forms: ScreenMap(name, bitmap) for a picture without walls,
// LevelMap(name, bitmap, walls) for a level, MistMap(name, bitmap, depth, drift) for a
// white-keyed layer drifting over the level.
//
// Walls are polylines in map pixels, each pair of consecutive points one segment in that
// direction (the direction fixes the side the wall pushes toward). A closed polyline
// repeats its first point at its end:
//
//   constexpr Point kPillar[] = {{65, 404}, {119, 404}, {119, 359}, {65, 359}, {65, 404}};
//   constexpr Point kCorner[] = {{425, 216}, {428, 213}, {428, 206}, {425, 202}};
//   constexpr Polyline kLevel1Walls[] = {kOuterWall, kPillar, kCorner};
//
// A sprite is one line, in the columns: name, animation entry, start action, start frame,
// x, y, layer, depth, what drives it (Behaviour(i), Machine(i) or kNoControl), collision
// letters, and then only as far as needed: speed, direction, flags, path, block.
//
//   {"Hearts", 14, 0, 2, 60, 460, 0, 0, Behaviour(14), "r"},
//   {"Player", 4, 0, 0, 21, 25, 1, 0, Behaviour(7), "ms", {2, 2}},
//   {"Spinner1", 5, 0, 0, 325, 228, 0, 3, kNoControl, "mso", {0, 5}, {0, -1}, kBounce},
//   {"Laser Beam Up", 23, 1, 0, 0, 0, 0, 3, Behaviour(26), "ms", {0, 5}, {}, kInactive},
//   {"Helmit", 17, 0, 0, 39, 159, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kGuardWalk)},
//   {"Spear", 3, 1, 4, 442, 113, 0, 0, kNoControl, "so", {}, {}, 0, {}, Block(1, 0, 17, 17)},
//
// Collision letters: m collides with the map, s with sprites, o also with sprites of its
// own layer, p is passable, r uses rectangle tests (every sprite that does not collide
// with sprites; "s" and "r" never go together). A path is its steps, integer offsets
// walked in a loop: constexpr PathStep kGuardWalk[] = {{0, 273}, {0, -273}};. A block
// stands for rows of equal sprites: Block(columns, x step, rows, y step) makes, row by row
// from the line's x and y, columns x rows sprites.
//
// Text boxes ("Start" only) are one line each: name, left, top, right, bottom, text.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quor {
class GameNode;
}

namespace game {

// A list of rows pointing into a constant table.
template <class T>
struct Rows {
  const T* items = nullptr;
  uint16_t count = 0;

  constexpr Rows() = default;
  template <size_t N>
  constexpr Rows(const T (&list)[N]) : items(list), count(static_cast<uint16_t>(N)) {}

  constexpr const T* begin() const { return items; }
  constexpr const T* end() const { return items + count; }
  constexpr const T& operator[](size_t i) const { return items[i]; }
};

// --- sounds ---

struct SoundRow {
  const char* name;
  const char* file;  // under "Sounds\"
};

// The effects, each always from its own file.
constexpr SoundRow kKeySound{"Key", "Key.wav"};
constexpr SoundRow kMeatSound{"Meat", "Meat.wav"};
constexpr SoundRow kFireballSound{"Fireball", "Sound.wav"};
constexpr SoundRow kLaughSound{"Laugh", "Laugh.wav"};
constexpr SoundRow kDoorSound{"Door", "Door.wav"};
constexpr SoundRow kItemSound{"Item", "item.wav"};
constexpr SoundRow kBombSound{"Bomb", "Expload.wav"};
constexpr SoundRow kLaserSound{"Laser", "Lazer.wav"};
constexpr SoundRow kVrendleQuestSound{"VrendleQuest", "Vrendle Quest.wav"};

// The music files that several scenes share, under the names each scene gives them.
constexpr const char* kAtticMusic = "Vostrel - There Are Owls In My Attic.wav";
constexpr const char* kFogMusic = "Vostrel - Wading Through Fog.wav";
constexpr const char* kDungeonMusic = "Vostrel - Pebbles In The Well (Dungeon Mix).wav";

// --- maps ---

struct Point {
  int16_t x;
  int16_t y;
};

// Consecutive points of a wall, one segment from each point to the next.
struct Polyline {
  const Point* points = nullptr;
  uint16_t count = 0;

  constexpr Polyline() = default;
  template <size_t N>
  constexpr Polyline(const Point (&list)[N]) : points(list), count(static_cast<uint16_t>(N)) {}

  constexpr uint16_t SegmentCount() const { return count > 1 ? count - 1 : 0; }
  constexpr bool Closed() const {
    return count > 2 && points[0].x == points[count - 1].x && points[0].y == points[count - 1].y;
  }
};

using Outline = Rows<Polyline>;

// The map kinds the scenes use.
constexpr int32_t kMasterMapKind = 0;
constexpr int32_t kContinuousWrappedMapKind = 3;

struct MapRow {
  const char* name;
  const char* bitmap;
  int32_t kind;
  int32_t depth;
  float autoScrollX;
  bool scrollFactors;  // the mists: scroll factors 0, 0, so they keep their place on screen
  bool whiteKey;       // white pixels are not drawn
  Outline walls;

  constexpr uint32_t SegmentCount() const {
    uint32_t n = 0;
    for (const Polyline& line : walls) n += line.SegmentCount();
    return n;
  }
};

constexpr MapRow ScreenMap(const char* name, const char* bitmap) {
  return MapRow{name, bitmap, kMasterMapKind, 0, 0.0f, false, false, {}};
}
constexpr MapRow LevelMap(const char* name, const char* bitmap, Outline walls) {
  return MapRow{name, bitmap, kMasterMapKind, 0, 0.0f, false, false, walls};
}
constexpr MapRow MistMap(const char* name, const char* bitmap, int32_t depth, float drift) {
  return MapRow{name, bitmap, kContinuousWrappedMapKind, depth, drift, true, true, {}};
}

// --- sprites ---

// What drives a sprite: a behaviour of the behaviour table, a machine of the machine
// table, or neither.
struct Control {
  enum Kind : uint8_t { kNone, kBehaviour, kMachine };
  Kind kind = kNone;
  int32_t index = -1;
};
constexpr Control Behaviour(int32_t index) { return Control{Control::kBehaviour, index}; }
constexpr Control Machine(int32_t index) { return Control{Control::kMachine, index}; }
constexpr Control kNoControl{};

// The collision letters, read when the table is compiled: a letter other than m, s, o, p
// and r, or "s" with "r", does not compile.
struct Collision {
  bool map = false;
  bool sprites = false;
  bool ownLayer = false;
  bool passable = false;

  constexpr Collision(const char* letters) {
    bool rectangle = false;
    for (const char* c = letters; *c; ++c) {
      switch (*c) {
        case 'm':
          map = true;
          break;
        case 's':
          sprites = true;
          break;
        case 'o':
          ownLayer = true;
          break;
        case 'p':
          passable = true;
          break;
        case 'r':
          rectangle = true;
          break;
        case '-':
          break;
        default:
          throw "unknown collision letter";
      }
    }
    if (rectangle && sprites) throw "a sprite that collides with sprites uses shape tests";
  }
  // Shape tests for whatever collides with sprites, rectangles for everything else.
  constexpr bool Rectangle() const { return !sprites; }
};

struct Pair {
  float x = 0.0f;
  float y = 0.0f;
};

// Sprite flags.
constexpr uint8_t kBounce = 1;
constexpr uint8_t kInactive = 2;  // starts hidden

struct PathStep {
  int32_t dx;
  int32_t dy;
};
using PathSteps = Rows<PathStep>;
template <size_t N>
constexpr PathSteps Path(const PathStep (&steps)[N]) {
  return PathSteps(steps);
}

struct SpriteBlock {
  uint16_t columns = 1;
  float xStep = 0.0f;
  uint16_t rows = 1;
  float yStep = 0.0f;
};
constexpr SpriteBlock Block(uint16_t columns, float xStep, uint16_t rows, float yStep) {
  return SpriteBlock{columns, xStep, rows, yStep};
}

struct SpriteRow {
  const char* name;
  int8_t set;  // the animation table's entry
  int8_t action;
  int8_t frame;
  float x;
  float y;
  int32_t layer;
  int32_t depth;
  Control control;
  Collision collision;
  Pair speed = {};
  Pair direction = {};  // as written; the sprite normalises it
  uint8_t flags = 0;
  PathSteps path = {};
  SpriteBlock block = {};

  constexpr uint32_t Count() const { return uint32_t(block.columns) * block.rows; }
};

// --- text boxes ---

struct TextRow {
  const char* name;
  int32_t left, top, right, bottom;
  const char* text;
};

// --- a scene ---

struct SceneContent {
  Rows<SoundRow> streamedSounds = {};  // looping; the music is one of them
  Rows<SoundRow> sounds = {};
  Rows<MapRow> maps = {};       // the first is the screen or the level
  const char* music = nullptr;  // started right after the first map
  Rows<SpriteRow> sprites = {};
  Rows<TextRow> texts = {};

  constexpr uint32_t SpriteCount() const {
    uint32_t n = 0;
    for (const SpriteRow& row : sprites) n += row.Count();
    return n;
  }
};

// Fills the scene with the table's objects, in the order given above.
void BuildSceneContent(quor::GameNode* scene, const SceneContent& content);

// Every scene's table, by scene id (1 to 13); an empty table for any other id.
const SceneContent& SceneContentData(int32_t sceneId);

// The tables, one per scene.
extern const SceneContent kStartContent;
extern const SceneContent kTitleContent;
extern const SceneContent kInstructContent;
extern const SceneContent kLevel1Content;
extern const SceneContent kLoseContent;
extern const SceneContent kLevel2Content;
extern const SceneContent kWinContent;
extern const SceneContent kLevel4Content;
extern const SceneContent kMidBossContent;
extern const SceneContent kStageIntroContent;
extern const SceneContent kLevel3Content;
extern const SceneContent kFinalLevelContent;
extern const SceneContent kFinalDoorContent;

// The walls of "Level2", which "Level4" has again.
extern const Polyline kLevel2Walls[11];

}  // namespace game
