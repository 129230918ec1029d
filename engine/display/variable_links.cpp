// Neighbours that have not been built yet answer here with what an empty scene would:
// each function below says what it stands in for.
#include "engine/display/variable_links.h"

#include "engine/app/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/display/map.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound.h"
#include "platform/font.h"

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

float MouseWorldX() { return CurrentMouse ? static_cast<float>(CurrentMouse->GetWorldX()) : -1.0f; }
float MouseWorldY() { return CurrentMouse ? static_cast<float>(CurrentMouse->GetWorldY()) : -1.0f; }
// Stand-in: the mouse has no buttons yet; nothing is held or pressed.
bool MouseButtonDown(int) { return false; }
bool MouseButtonPressed(int) { return false; }
bool KeyDown(uint32_t key) { return CurrentKeyboard && CurrentKeyboard->IsKeyDown(key); }
bool KeyPressed(uint32_t key) { return CurrentKeyboard && CurrentKeyboard->IsKeyPressed(key); }

// Stand-in: sounds have no name or playback yet.
Sound* FindSoundByName(const char*) { return nullptr; }
const char* SoundName(const Sound*) { return ""; }
void PlaySound(Sound*) {}

void RequestQuit() {
  if (CurrentGameDirector)
    CurrentGameDirector->RequestQuit();
  else
    QuitRequested = 1;
}
// Stand-in until the game director lands with the frame-rate update.
VariableUpdateFunction FpsUpdateFunction() { return nullptr; }

namespace {

TextDevice* deviceOverride = nullptr;

// Measures with the box's font; stand-in until the back buffer lands: draws nothing.
class FontDevice : public TextDevice {
 public:
  explicit FontDevice(const platform::Font* font) : font_(font) {}
  bool Measure(const char* text, size_t n, int32_t* width, int32_t* height) override {
    if (!font_) return false;
    platform::TextSize size = font_->Measure(text, n);
    *width = size.width;
    *height = size.height;
    return true;
  }
  void DrawCharacter(int32_t, int32_t, char) override {}

 private:
  const platform::Font* font_;
};

}  // namespace

TextDevice* OpenTextDevice(Variable* box) {
  if (deviceOverride) return deviceOverride;
  return new FontDevice(box->GetFont());
}

void CloseTextDevice(TextDevice* device) {
  if (device != deviceOverride) delete device;
}

void SetTextDeviceOverride(TextDevice* device) { deviceOverride = device; }

// Stand-in until debug drawing lands: lines are not drawn.
void DrawWorldLine(float, float, float, float, uint32_t) {}

}  // namespace box_links
}  // namespace quor
