// What a text box needs of its neighbours (maps, the viewport, the mouse and keyboard,
// sounds, the run state, line drawing), gathered in one place so the box's own code
// reads the same whichever of them is present.
#pragma once

#include <cstddef>
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

// --- text ---
// What the drawing measures and draws characters with: the box's font on the back buffer.
class TextDevice {
 public:
  virtual ~TextDevice() = default;
  // Width and height of n characters as drawn; false when they cannot be measured.
  virtual bool Measure(const char* text, size_t n, int32_t* width, int32_t* height) = 0;
  // Draws one character with its cell's top-left corner at (x, y), screen pixels.
  virtual void DrawCharacter(int32_t x, int32_t y, char c) = 0;
};
// The device for a box, or null when the back buffer cannot be drawn on.
TextDevice* OpenTextDevice(Variable* box);
void CloseTextDevice(TextDevice* device);
// Tests: every box draws through this device instead (null restores the back buffer).
void SetTextDeviceOverride(TextDevice* device);

// --- drawing ---
// A line in world coordinates on the back buffer, in a 0x00BBGGRR colour.
void DrawWorldLine(float x1, float y1, float x2, float y2, uint32_t color);

}  // namespace box_links
}  // namespace quor
