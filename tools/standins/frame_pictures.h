// Stand-in pictures for the animation frames, made from the frames' own table rows: the
// size, the colour key, the collision outline and the frame's place in its action. What a
// picture shows follows from its animation entry: each kind of thing has a colour family
// of its own, directional actions carry a mark toward their facing, and every frame of a
// moving action differs from the one before.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace game {
struct FrameData;
}

namespace standins {

enum class Family : uint8_t { kHero, kMonster, kShot, kItem, kFixture, kBoss };

// The colour of the wedge that points the way a directional action faces.
constexpr uint32_t kFacingMark = 0x0078F0FF;

// The family of an animation entry's pictures.
Family FamilyOf(int entry);
// The middle colour of a family.
uint32_t FamilyColour(Family family);

struct FrameRequest {
  int entry;
  int action;
  int frame;
  int frameCount;  // of the frame's action
  const game::FrameData* data;
};

// The frame's picture at its size; its background is its colour key, except for a frame
// drawn whole (opaque), which has no background.
platform::Image FramePicture(const FrameRequest& request);

}  // namespace standins
