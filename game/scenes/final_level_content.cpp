// "FinalLevel", the fight with both bosses. Until its rows are in, the scene starts empty.
#include "game/scenes/content_data.h"

namespace game {

constexpr SceneContent kFinalLevelContent{};

}  // namespace game
