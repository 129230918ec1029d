// "Level2", the second level. Until its rows are in, the scene starts empty.
#include "game/scenes/content_data.h"

namespace game {

constexpr Polyline kLevel2Walls[11] = {};
constexpr SceneContent kLevel2Content{};

}  // namespace game
