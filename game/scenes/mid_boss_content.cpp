// "MidBoss", the fight with the first boss. Until its rows are in, the scene starts empty.
#include "game/scenes/content_data.h"

namespace game {

constexpr SceneContent kMidBossContent{};

}  // namespace game
