// "Level4", the fourth level, in the rooms and walls of the second. Until its rows are in,
// the scene starts empty.
#include "game/scenes/content_data.h"

namespace game {

constexpr SceneContent kLevel4Content{};

}  // namespace game
