// What a text box needs of its neighbours (maps, the viewport, the mouse and keyboard,
// sounds, the run state, line drawing), gathered in one place so the box's own code
// reads the same whichever of them is present.
#pragma once

#include <cstdint>

#include "engine/display/variable.h"

namespace quor {

class Map;
class Sound;

namespace box_links {

// --- maps ---
// The map's 32-character name ("" when it has none).
const char* MapName(const Map* map);
Map* FindMapByName(const char* name);
int32_t MapScreenX(const Map* map);
int32_t MapScreenY(const Map* map);
float MapWorldX(const Map* map);
float MapWorldY(const Map* map);
void SetMapScrollFactors(Map* map, float x, float y);
// The boxes the map draws with its own drawing.
uint32_t MapTiedCount(const Map* map);
void TieToMap(Map* map, Variable* box);

// --- the current scene's view ---
float ViewLeft();
float ViewTop();
int32_t ViewWidth();
int32_t ViewHeight();

// --- input ---
float MouseWorldX();
float MouseWorldY();
bool MouseButtonDown(int button);
bool MouseButtonPressed(int button);
bool KeyDown(uint32_t key);
bool KeyPressed(uint32_t key);

// --- sounds ---
Sound* FindSoundByName(const char* name);
const char* SoundName(const Sound* sound);
void PlaySound(Sound* sound);

// --- run state ---
void RequestQuit();
// The frame-rate box's update function.
VariableUpdateFunction FpsUpdateFunction();

// --- drawing ---
// A line in world coordinates on the back buffer, in a 0x00BBGGRR colour.
void DrawWorldLine(float x1, float y1, float x2, float y2, uint32_t color);

}  // namespace box_links
}  // namespace quor
