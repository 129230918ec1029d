// The steps of one engine frame, in the order the frame update runs them.
#pragma once

#include <cstdint>

namespace quor {

class GameNode;

// The scene's state machine, behaviour, text-box updates and the main character's move.
void RunSceneLogic(GameNode* scene);
// Map by map: the map's update and drawing, then its sprites, layer 0 to 15.
void RunMapPasses(GameNode* scene);
// Text boxes, text cursor, direction arrow and scroll box, drawn paused or not.
void DrawSceneOverlays(GameNode* scene);
// The three screen transitions, one step each.
void StepTransitions();
// True while any screen transition plays (tested OpenClose, RandomDissolve, GammaRamp).
bool AnyTransitionActive();
// Sprites whose requested depth changed take their new place in their layer.
void ResortLayers(GameNode* scene);

// Clears the keys and buttons held, so a new scene starts with nothing pressed.
void ClearInputState();

}  // namespace quor
