// Covers the screen with 5 x 5 pixel blocks at random cells, some new cells each frame, in
// one colour, random colours or random greys. The cells come from the engine's shared
// random sequence, so a dissolve replays the same way from the same seed.
#pragma once

#include <cstdint>
#include <cstddef>
#include <vector>

#include "engine/core/class_record.h"
#include "engine/core/node.h"

namespace quor {

class RandomDissolve : public Node {
 public:
  static constexpr int32_t kCellSize = 5;
  enum : int32_t { Idle = -1, FixedColor = 0, RandomColors = 1, RandomGreys = 2 };

  // A clear grid of the display's size in cells.
  RandomDissolve();
  Node* Clone() const override { return new RandomDissolve(*this); }
  // Takes only a grid of the display's size in cells, and no more new cells per frame than
  // the grid holds; a record that cannot be read whole leaves the dissolve as it was.
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return RandomDissolveClassRecord; }

  // Starts covering `cellsPerStep` new cells a frame for `frames` frames, then holds the
  // cover for `holdFrames`. The colour counts in FixedColor mode only.
  void Start(int32_t mode, uint32_t blockColor, int32_t cellsPerStep, int32_t frames, int32_t holdFrames = 0);
  // One frame: covers new cells and draws every covered block on the back buffer.
  void Step();
  // Back to idle with every cell uncovered.
  void Reset();
  uint8_t IsActive() const { return active; }

  bool Covered(int32_t column, int32_t row) const { return grid[std::size_t(column) * rows + row] != 0; }

  int32_t columns;            // cells across
  int32_t rows;               // cells down
  int32_t cellsPerFrame = 0;  // new cells chosen per step
  std::vector<uint8_t> grid;  // column after column, 1 = covered
  uint32_t color = 0;         // 0x00BBGGRR, of FixedColor mode
  int32_t counter = 0;        // frames stepped
  int32_t duration = 0;       // frames of the dissolve
  int32_t hold = 0;           // frames covered afterwards
  uint8_t active = 0;         // the dissolve runs
  int32_t colorMode = Idle;

 private:
  void CoverNewCell();
};

}  // namespace quor
