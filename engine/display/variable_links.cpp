// Neighbours that have not been built yet answer here with what an empty scene would:
// each function below says what it stands in for.
#include "engine/display/variable_links.h"

#include "engine/app/engine_globals.h"
#include "engine/display/map.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/sound.h"

namespace quor {
namespace box_links {

// Stand-in: maps carry no name, position or tied list yet.
const char* MapName(const Map*) { return ""; }
Map* FindMapByName(const char*) { return nullptr; }
int32_t MapScreenX(const Map*) { return 0; }
int32_t MapScreenY(const Map*) { return 0; }
float MapWorldX(const Map*) { return 0.0f; }
float MapWorldY(const Map*) { return 0.0f; }
void SetMapScrollFactors(Map*, float, float) {}
uint32_t MapTiedCount(const Map*) { return 0; }
void TieToMap(Map*, Variable*) {}

// Stand-in: the viewport has no position yet; it covers the display from its origin.
float ViewLeft() { return 0.0f; }
float ViewTop() { return 0.0f; }
int32_t ViewWidth() { return 640; }
int32_t ViewHeight() { return 480; }

// Stand-in: no mouse or keyboard object yet; nothing is held or pressed.
float MouseWorldX() { return -1.0f; }
float MouseWorldY() { return -1.0f; }
bool MouseButtonDown(int) { return false; }
bool MouseButtonPressed(int) { return false; }
bool KeyDown(uint32_t) { return false; }
bool KeyPressed(uint32_t) { return false; }

// Stand-in: sounds have no name or playback yet.
Sound* FindSoundByName(const char*) { return nullptr; }
const char* SoundName(const Sound*) { return ""; }
void PlaySound(Sound*) {}

// Stand-in until the game director lands: the quit flag it would set.
void RequestQuit() { QuitRequested = 1; }
// Stand-in until the game director lands with the frame-rate update.
VariableUpdateFunction FpsUpdateFunction() { return nullptr; }

// Stand-in until debug drawing lands: lines are not drawn.
void DrawWorldLine(float, float, float, float, uint32_t) {}

}  // namespace box_links
}  // namespace quor
