// A wipe of the screen in one solid colour: bars from the sides or from top and bottom, a
// rectangle or a circle, each closing or opening, drawn over the finished frame.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/core/node.h"

namespace quor {

class OpenClose : public Node {
 public:
  enum : int32_t {
    Idle = -1,
    BarsCloseSides = 0,
    BarsOpenSides = 1,
    BarsCloseTopBottom = 2,
    BarsOpenTopBottom = 3,
    RectangleCloses = 4,
    RectangleOpens = 5,
    CircleCloses = 6,
    CircleOpens = 7,
  };

  Node* Clone() const override { return new OpenClose(*this); }
  // A record that cannot be read whole leaves the wipe as it was.
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return OpenCloseClassRecord; }

  // Starts a wipe of the style that crosses the whole display in `frames` frames (at least
  // 1); a closing style (and the bars opening to top and bottom) then holds for `holdFrames`.
  // An unknown style leaves the wipe idle.
  void Start(int32_t wipeStyle, uint32_t wipeColor, int32_t frames, int32_t holdFrames = 0);
  // One frame: advances the wipe and draws it on the back buffer.
  void Step();
  void Reset();
  uint8_t IsActive() const { return active; }

  uint32_t color = 0xFFFFFF;  // 0x00BBGGRR
  int32_t style = Idle;       // any value outside 0..7 is idle
  int32_t counter = 0;        // frames stepped
  int32_t duration = 0;       // frames of the movement
  uint8_t active = 0;         // the counter advances only while set
  float step = 0;             // pixels per frame of the bars and of the circle's radius
  float xStep = 0, yStep = 0;  // pixels per frame of the rectangle's sides
  float radius = 0;           // starting radius of the closing circle
  int32_t hold = 0;           // frames closed after a closing style

 private:
  void Draw();
};

}  // namespace quor
