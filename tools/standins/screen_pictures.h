// Stand-in pictures for the scenes' maps, made from the content tables: the screens say
// what they are, a level shows its walls where its collision outlines are, and a mist is
// white (its colour key) with soft grey streaks.
#pragma once

#include "platform/surface.h"

namespace game {
struct MapRow;
}

namespace standins {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// The colours of a level picture: its floor tiles and grout, and its walls. A pixel is
// wall where it lies inside an even number of the map's closed outlines (outside every
// room, or inside a pillar within one) or on an open outline.
constexpr uint32_t kFloorTile = 0x00394046;
constexpr uint32_t kFloorTileOther = 0x003E464D;
constexpr uint32_t kFloorGrout = 0x002E3338;
constexpr uint32_t kWallFace = 0x00827080;
constexpr uint32_t kWallEdge = 0x00B4A0B8;

platform::Image MapPicture(const game::MapRow& map);

}  // namespace standins
