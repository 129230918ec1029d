// Pieces of a scene's work that its frame passes and its own save and load share: the
// place of a sprite in its depth-sorted layer, the scene's wanted music, and the parts of
// a saved scene that belong to the devices and transitions beside it.
#pragma once

#include <cstdint>

namespace quor {

class Node;
class NodeList;
class ObjectStream;

// The first sprite of a layer whose requested depth is at least depth, or the sentinel.
Node* FirstAtOrDeeper(NodeList& layer, int32_t depth);

// Plays again every MIDI file of the current scene that is wanted and not playing.
void ReplayWantedMidiFiles();

// The mouse's part of a saved scene: sensitivity, x, y, dx, dy, the client rectangle and
// the x-moved and y-moved flags.
void SaveMouseState(ObjectStream& stream);
void LoadMouseState(ObjectStream& stream);
// The three transitions' own records, GammaRamp, OpenClose, RandomDissolve.
void SaveTransitions(ObjectStream& stream);
void LoadTransitions(ObjectStream& stream);

}  // namespace quor
