// The steps of one engine frame, in the order the frame update runs them, and the pieces
// of the scene's work that reach across the engine's parts.
#pragma once

#include <cstdint>

namespace quor {

class GameNode;
class Node;
class NodeList;
class ObjectStream;

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
// The first sprite of a layer whose requested depth is at least depth, or the sentinel.
Node* FirstAtOrDeeper(NodeList& layer, int32_t depth);
// Sprites whose requested depth changed take their new place in their layer.
void ResortLayers(GameNode* scene);

// Plays again every MIDI file of the current scene that is wanted and not playing.
void ReplayWantedMidiFiles();
// Clears the keys and buttons held, so a new scene starts with nothing pressed.
void ClearInputState();

// The mouse's part of a saved scene: sensitivity, x, y, dx, dy, the client rectangle and
// the x-moved and y-moved flags.
void SaveMouseState(ObjectStream& stream);
void LoadMouseState(ObjectStream& stream);
// The three transitions' own records, GammaRamp, OpenClose, RandomDissolve.
void SaveTransitions(ObjectStream& stream);
void LoadTransitions(ObjectStream& stream);

}  // namespace quor
