// "Level1", the first level. Until its rows are in, the scene starts empty.
#include "game/scenes/content_data.h"

namespace game {

constexpr SceneContent kLevel1Content{};

}  // namespace game
