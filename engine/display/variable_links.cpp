// A text box's neighbours, each answering as an empty scene would when it is missing (no
// scene, no map, no mouse or keyboard, no sound).
#include "engine/display/variable_links.h"

#include <cstdio>

#include "engine/core/engine_globals.h"
#include "engine/core/run_state.h"
#include "engine/display/display.h"
#include "engine/display/geometrics_drawn.h"
#include "engine/display/map.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound.h"
#include "platform/font.h"
#include "platform/text.h"

namespace quor {
namespace box_links {

const char* MapName(const Map* map) { return map ? map->GetName() : ""; }
Map* FindMapByName(const char* name) { return quor::FindMapByName(name); }
int32_t MapScreenX(const Map* map) { return map ? map->GetScreenX() : 0; }
int32_t MapScreenY(const Map* map) { return map ? map->GetScreenY() : 0; }
float MapWorldX(const Map* map) { return map ? map->GetWorldX() : 0.0f; }
float MapWorldY(const Map* map) { return map ? map->GetWorldY() : 0.0f; }
void SetMapScrollFactors(Map* map, float x, float y) {
  if (!map) return;
  map->SetScrollFactorX(x);
  map->SetScrollFactorY(y);
}
uint32_t MapTiedCount(const Map* map) { return map ? map->GetTiedVariableCount() : 0; }
void TieToMap(Map* map, Variable* box) {
  if (map) map->TieVariable(box);
}

// Without a scene the view is the display from its origin.
float ViewLeft() { return CurrentGameNode ? CurrentGameNode->viewPort.GetLeft() : 0.0f; }
float ViewTop() { return CurrentGameNode ? CurrentGameNode->viewPort.GetTop() : 0.0f; }
int32_t ViewWidth() {
  return CurrentGameNode ? static_cast<int32_t>(CurrentGameNode->viewPort.GetViewWidth())
                         : static_cast<int32_t>(DisplayWidth);
}
int32_t ViewHeight() {
  return CurrentGameNode ? static_cast<int32_t>(CurrentGameNode->viewPort.GetViewHeight())
                         : static_cast<int32_t>(DisplayHeight);
}

float MouseWorldX() { return CurrentMouse ? static_cast<float>(CurrentMouse->GetWorldX()) : -1.0f; }
float MouseWorldY() { return CurrentMouse ? static_cast<float>(CurrentMouse->GetWorldY()) : -1.0f; }
bool MouseButtonDown(int button) {
  return CurrentMouse && CurrentMouse->IsButtonDown(static_cast<uint32_t>(button));
}
bool MouseButtonPressed(int button) {
  return CurrentMouse && CurrentMouse->IsButtonPressed(static_cast<uint32_t>(button));
}
bool KeyDown(uint32_t key) { return CurrentKeyboard && CurrentKeyboard->IsKeyDown(key); }
bool KeyPressed(uint32_t key) { return CurrentKeyboard && CurrentKeyboard->IsKeyPressed(key); }

Sound* FindSoundByName(const char* name) { return quor::FindSoundByName(name); }
const char* SoundName(const Sound* sound) { return sound ? sound->GetName() : ""; }
void PlaySound(Sound* sound) {
  if (sound) sound->Play();
}

void RequestQuit() {
  if (CurrentGameDirector)
    CurrentGameDirector->RequestQuit();
  else
    QuitRequested = 1;
}
VariableUpdateFunction FpsUpdateFunction() { return UpdateFpsText; }

namespace {

TextDevice* deviceOverride = nullptr;

// The box's font and colour on the back buffer.
class BackBufferDevice : public TextDevice {
 public:
  BackBufferDevice(platform::Surface* surface, const platform::Font* font, uint32_t color)
      : surface_(surface), font_(font), color_(color) {}
  bool Measure(const char* text, size_t n, int32_t* width, int32_t* height) override {
    if (!font_) return false;
    platform::TextSize size = font_->Measure(text, n);
    *width = size.width;
    *height = size.height;
    return true;
  }
  void DrawCharacter(int32_t x, int32_t y, char c) override {
    if (font_) platform::DrawText(*surface_, *font_, x, y, &c, 1, color_);
  }

 private:
  platform::Surface* surface_;
  const platform::Font* font_;
  uint32_t color_;
};

}  // namespace

TextDevice* OpenTextDevice(Variable* box) {
  if (deviceOverride) return deviceOverride;
  // A back buffer that is missing, lost or locked cannot be drawn on.
  if (!BackBuffer || BackBuffer->IsLost() || BackBuffer->Locked()) return nullptr;
  return new BackBufferDevice(BackBuffer, box->GetFont(), box->textColor);
}

void CloseTextDevice(TextDevice* device) {
  if (device != deviceOverride) delete device;
}

void SetTextDeviceOverride(TextDevice* device) { deviceOverride = device; }

void DrawWorldLine(float x1, float y1, float x2, float y2, uint32_t color) {
  GeometricsDrawn lines;
  lines.DrawLine(x1, y1, x2, y2, color);
}

}  // namespace box_links

namespace {
int32_t fpsFrameCounter = 0;
char fpsText[32] = {};
}  // namespace

void UpdateFpsText(Variable* box) {
  if (CurrentKeyboard && CurrentKeyboard->IsKeyPressed(87)) {  // F11
    FpsTextShown = !FpsTextShown;
    box->SetVisible(FpsTextShown);
  }
  ++fpsFrameCounter;
  if (fpsFrameCounter % 15 == 0 && CurrentGameNode)
    std::snprintf(fpsText, sizeof fpsText, "FPS = %d",
                  static_cast<int>(CurrentGameNode->measuredRate));
  box->SetText(fpsText);
}

}  // namespace quor
