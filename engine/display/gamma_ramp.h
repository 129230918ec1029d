// A fade of the whole display through its gamma ramp. Full screen only: in a window there
// is no ramp to write, and the fade gives up at its first step.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "platform/video_output.h"

namespace quor {

class GammaRamp : public Node {
 public:
  enum : int32_t { Idle = -1, Wait = 0, FadeIn = 1, FadeOut = 2 };

  GammaRamp();
  Node* Clone() const override { return new GammaRamp(*this); }
  // A record that cannot be read whole leaves the fade as it was.
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return GammaRampClassRecord; }

  // Starts a wait, a fade in or a fade out of `frames` frames (at least 1) whose ramps run
  // between dark and the identity ramp. A fade out then holds the dark screen for
  // `holdFrames` and, with restoreAtEnd 0, leaves it dark when it ends. An unknown mode
  // changes nothing.
  void Start(int32_t startMode, int32_t frames, int32_t holdFrames = 0, uint8_t restoreAtEnd = 1);
  // One frame of the fade; writes the display's ramp while it runs.
  void Step();
  // Back to idle, writing the saved ramp back unless a fade out was asked to stay dark.
  void Reset();
  uint8_t IsActive() const { return active; }

  int32_t mode = Idle;
  int32_t counter = 0;   // frames stepped so far
  int32_t hold = 0;      // frames held dark after a fade out
  int32_t duration = 0;  // frames of the wait or fade
  uint8_t active = 0;    // the counter advances only while set
  platform::GammaTable savedRamp;    // written back at the end
  platform::GammaTable workingRamp;  // written each step
  float scale = 0;       // ramp value per input level and frame
  uint8_t restore = 1;   // 0: a fade out leaves the screen dark

 private:
  void ClearState();
  void WriteScaled(int64_t frames);
};

}  // namespace quor
