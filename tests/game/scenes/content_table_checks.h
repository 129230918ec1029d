// Helpers for tests of the scenes' content tables: the sprites a table builds, rows by
// name, counts by name, the hidden ones, sound names, how the walls lie, path sums, and
// animation choices checked against the entries the scene's own builder fills.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/scene/animation.h"
#include "game/scenes/content_data.h"

namespace game {
namespace content_checks {

// One sprite a table builds: its row, and its place once a block is spread out.
struct Built {
  const SpriteRow* row;
  float x, y;
};

inline std::vector<Built> Sprites(const SceneContent& content) {
  std::vector<Built> out;
  for (const SpriteRow& row : content.sprites)
    for (uint16_t r = 0; r < row.block.rows; ++r)
      for (uint16_t c = 0; c < row.block.columns; ++c)
        out.push_back({&row, row.x + c * row.block.xStep, row.y + r * row.block.yStep});
  return out;
}

inline std::vector<const SpriteRow*> Named(const SceneContent& content, const char* name) {
  std::vector<const SpriteRow*> rows;
  for (const SpriteRow& row : content.sprites)
    if (std::strcmp(row.name, name) == 0) rows.push_back(&row);
  return rows;
}

// The one row of that name (a failure when there is not exactly one).
inline const SpriteRow& One(const SceneContent& content, const char* name) {
  std::vector<const SpriteRow*> rows = Named(content, name);
  EXPECT_EQ(rows.size(), 1u) << name;
  static const SpriteRow kMissing{"", 0, 0, 0, 0, 0, 0, 0, kNoControl, "-"};
  return rows.empty() ? kMissing : *rows[0];
}

// How many sprites of each name a table builds.
inline std::map<std::string, int> NameCounts(const SceneContent& content) {
  std::map<std::string, int> counts;
  for (const SpriteRow& row : content.sprites) counts[row.name] += row.Count();
  return counts;
}

// The sprites that start hidden, by name, in building order.
inline std::vector<std::string> Hidden(const SceneContent& content) {
  std::vector<std::string> names;
  for (const Built& s : Sprites(content))
    if (s.row->flags & kInactive) names.push_back(s.row->name);
  return names;
}

inline std::vector<std::string> SoundNames(Rows<SoundRow> sounds) {
  std::vector<std::string> names;
  for (const SoundRow& s : sounds) names.push_back(s.name);
  return names;
}

struct Bounds {
  int left, top, right, bottom;
};

// The rectangle that holds every point of the walls.
inline Bounds WallBounds(Outline walls) {
  const Point& first = walls[0].points[0];
  Bounds b{first.x, first.y, first.x, first.y};
  for (const Polyline& line : walls) {
    for (uint16_t i = 0; i < line.count; ++i) {
      b.left = std::min<int>(b.left, line.points[i].x);
      b.right = std::max<int>(b.right, line.points[i].x);
      b.top = std::min<int>(b.top, line.points[i].y);
      b.bottom = std::max<int>(b.bottom, line.points[i].y);
    }
  }
  return b;
}

inline bool HasZeroLengthSegment(const Polyline& line) {
  for (uint16_t i = 0; i + 1 < line.count; ++i)
    if (line.points[i].x == line.points[i + 1].x && line.points[i].y == line.points[i + 1].y)
      return true;
  return false;
}

// How the walls lie: their pieces, the closed ones, the ones with a segment of no length,
// and the rectangle that holds them.
struct WallShape {
  int pieces = 0, closed = 0, withZeroLength = 0;
  Bounds bounds{};
};

inline WallShape ShapeOf(Outline walls) {
  WallShape shape;
  shape.bounds = WallBounds(walls);
  for (const Polyline& line : walls) {
    ++shape.pieces;
    shape.closed += line.Closed() ? 1 : 0;
    shape.withZeroLength += HasZeroLengthSegment(line) ? 1 : 0;
  }
  return shape;
}

// Where a path leaves its walker after one round: (0, 0) for a round that comes back.
inline Pair PathSum(const SpriteRow& row) {
  Pair sum;
  for (const PathStep& step : row.path) {
    sum.x += static_cast<float>(step.dx);
    sum.y += static_cast<float>(step.dy);
  }
  return sum;
}

// Every sprite selects an action and frame its animation entry has, among the entries
// that the scene's own builder fills.
inline void ExpectAnimationChoicesExist(const SceneContent& content,
                                        void (*build)(quor::GameNode*)) {
  quor::EmptyAnimationTable();
  build(nullptr);
  for (const SpriteRow& row : content.sprites) {
    ASSERT_GE(row.set, 0) << row.name;
    const quor::AnimationSet& set = quor::AnimationTable[row.set];
    ASSERT_LT(row.action, static_cast<int>(set.actionCount)) << row.name;
    const quor::SpriteAction* action = set.GetAction(row.action);
    ASSERT_NE(action, nullptr) << row.name;
    EXPECT_LT(row.frame, static_cast<int>(action->frameCount)) << row.name;
  }
  quor::EmptyAnimationTable();
}

}  // namespace content_checks
}  // namespace game
