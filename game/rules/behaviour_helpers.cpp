#include "game/rules/behaviour_helpers.h"

#include <algorithm>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/animation.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/sound.h"
#include "game/rules/game_variables.h"

namespace game {

quor::Sprite* FindSprite(const char* name) { return quor::FindSpriteByName(name); }

bool IsOnStatusRow(const quor::Sprite& item) { return item.GetY() > kStatusRowLine; }

bool IsOnStatusRow(const char* itemName) {
  const quor::Sprite* item = FindSprite(itemName);
  return item && IsOnStatusRow(*item);
}

bool IsParked(const quor::Sprite& projectile) { return projectile.GetX() < 0.0f; }

void Park(quor::Sprite& sprite, float x, float y) {
  sprite.SetX(x);
  sprite.SetY(y);
}

void Kill(quor::Sprite& sprite) { sprite.SetDead(1); }
void Hide(quor::Sprite& sprite) { sprite.SetInactive(1); }
void Show(quor::Sprite& sprite) { sprite.SetInactive(0); }

void Aim(quor::Sprite& sprite, float dx, float dy) { sprite.SetDirection(dx, dy, 0); }

quor::Sprite* SpawnCopyOf(const char* name) {
  quor::Sprite* original = FindSprite(name);
  return original ? original->Spawn() : nullptr;
}

void PlaySound(const char* name) {
  quor::SoundHandle sound;
  quor::GetSoundHandle(sound, name)->Play();
}

bool IsKeyHeld(uint8_t code) {
  return quor::CurrentKeyboard && quor::CurrentKeyboard->IsKeyDown(code);
}

bool IsKeyPressedNow(uint8_t code) {
  return quor::CurrentKeyboard && quor::CurrentKeyboard->IsKeyPressed(code);
}

void RequestScene(const char* sceneName) {
  if (quor::CurrentGameDirector) quor::CurrentGameDirector->GoToGameNode(sceneName);
}

quor::Sprite* AsSprite(quor::Node* owner) {
  if (!owner || &owner->GetClassRecord() != &quor::SpriteClassRecord) return nullptr;
  return static_cast<quor::Sprite*>(owner);
}

bool ExitDoorLetsHeroThrough(quor::Sprite& door) {
  constexpr int32_t kKeysToOpen = 3;
  constexpr int8_t kOpening = 1;  // three pictures, the last one open
  constexpr int8_t kOpenFrame = 2;
  if (KeyCount == kKeysToOpen) door.SetAction(kOpening);
  if (door.IsActionFinished(kOpening)) door.SetFrame(kOpenFrame);
  return door.HasTouched("Player") && KeyCount == kKeysToOpen;
}

void ShowCountAsFrame(quor::Sprite& counter, int32_t count) {
  const quor::SpriteAction* action = counter.GetCurrentAction();
  int32_t last = action && action->frameCount > 0 ? action->frameCount - 1 : 0;
  counter.SetFrame(static_cast<int8_t>(std::clamp(count, int32_t{0}, last)));
}

}  // namespace game
