#include "engine/display/random_dissolve.h"

#include <algorithm>
#include <cstdint>

#include "engine/core/object_stream.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/pixel_writer.h"
#include "platform/surface.h"

namespace quor {

namespace {

constexpr int kTriesPerCell = 50;
// The float nearest 1/32767 and 255/32767: a draw times these spans 0..1 and 0..255.
const float kUnit = 1.0f / 32767.0f;
const float kLevel = 255.0f / 32767.0f;

int32_t RandomLevel() { return int32_t(float(NextRandom()) * kLevel); }

}  // namespace

RandomDissolve::RandomDissolve()
    : columns(int32_t(DisplayWidth / kCellSize)),
      rows(int32_t(DisplayHeight / kCellSize)),
      grid(size_t(columns) * rows, 0) {}

void RandomDissolve::Start(int32_t mode, uint32_t blockColor, int32_t cellsPerStep, int32_t frames,
                           int32_t holdFrames) {
  Reset();
  colorMode = mode;
  color = blockColor;
  cellsPerFrame = std::min<int64_t>(std::max(cellsPerStep, 0), int64_t(columns) * rows);
  duration = frames;
  hold = holdFrames;
  counter = 0;
  active = 1;
}

void RandomDissolve::CoverNewCell() {
  for (int t = 0; t < kTriesPerCell; ++t) {
    int32_t x = int32_t(float(NextRandom() * (columns + 1)) * kUnit);
    int32_t y = int32_t(float(NextRandom() * (rows + 1)) * kUnit);
    if (x >= columns || y >= rows) continue;
    uint8_t& cell = grid[size_t(x) * rows + y];
    if (cell) continue;
    cell = 1;
    return;
  }
}

void RandomDissolve::Step() {
  if (int64_t(hold) + duration < counter) {
    Reset();
    return;
  }
  if (!active) return;
  if (counter < INT32_MAX) ++counter;

  PixelWriter* writer = ScreenPixelWriter;
  if (writer) writer->Lock();
  for (int32_t i = 0; i < cellsPerFrame; ++i) CoverNewCell();

  for (int32_t column = 0; column < columns; ++column) {
    for (int32_t row = 0; row < rows; ++row) {
      if (!Covered(column, row)) continue;
      uint32_t blockColor;
      if (colorMode == FixedColor) {
        blockColor = color;
      } else if (colorMode == RandomColors) {
        int32_t r = RandomLevel();
        int32_t g = RandomLevel();
        int32_t b = RandomLevel();
        blockColor = platform::ColorRef(uint8_t(r), uint8_t(g), uint8_t(b));
      } else {
        uint8_t v = uint8_t(RandomLevel());
        blockColor = platform::ColorRef(v, v, v);
      }
      if (writer) writer->FillRect(kCellSize * column, kCellSize * row, kCellSize, kCellSize, blockColor);
    }
  }
  if (writer) writer->Unlock();
}

void RandomDissolve::Reset() {
  counter = 0;
  hold = 0;
  active = 0;
  std::fill(grid.begin(), grid.end(), 0);
  cellsPerFrame = 0;
  duration = 0;
  colorMode = Idle;
}

void RandomDissolve::Save(ObjectStream& stream) {
  stream.WriteLong(columns);
  stream.WriteLong(rows);
  stream.WriteLong(cellsPerFrame);
  for (int32_t column = 0; column < columns; ++column)
    if (rows > 0) stream.Write(grid.data() + size_t(column) * rows, size_t(rows));
  stream.WriteLong(color);
  stream.WriteLong(counter);
  stream.WriteLong(duration);
  stream.WriteLong(hold);
  stream.WriteByte(active);
  stream.WriteLong(colorMode);
}

void RandomDissolve::Load(ObjectStream& stream) {
  int32_t readColumns = 0, readRows = 0, readCells = 0;
  stream.ReadLong(&readColumns);
  stream.ReadLong(&readRows);
  stream.ReadLong(&readCells);
  if (!stream.Good()) return;
  // Any other grid would cover memory the display does not have, and a huge count of new
  // cells would stall every frame on a full grid.
  if (readColumns != int32_t(DisplayWidth / kCellSize) || readRows != int32_t(DisplayHeight / kCellSize) ||
      int64_t(readCells) > int64_t(readColumns) * readRows) {
    stream.MarkFailed();
    return;
  }
  RandomDissolve read(*this);
  read.columns = readColumns;
  read.rows = readRows;
  read.cellsPerFrame = readCells;
  read.grid.assign(size_t(readColumns) * readRows, 0);
  if (!read.grid.empty()) stream.Read(read.grid.data(), read.grid.size());
  stream.ReadLong(&read.color);
  stream.ReadLong(&read.counter);
  stream.ReadLong(&read.duration);
  stream.ReadLong(&read.hold);
  stream.ReadByte(&read.active);
  stream.ReadLong(&read.colorMode);
  if (!stream.Good()) return;
  *this = read;
}

}  // namespace quor
