// "Level3", the third level. Until its rows are in, the scene starts empty.
#include "game/scenes/content_data.h"

namespace game {

constexpr SceneContent kLevel3Content{};

}  // namespace game
