// The thirteen scenes, their ids and names, and the three hooks of each.
#pragma once

namespace game {

// Creates the thirteen scenes and adds them to the director, in id order. False when a
// scene could not be allocated (the scenes made so far are added).
bool CreateSceneList();

}  // namespace game
