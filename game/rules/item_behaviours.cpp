// Items that move to the status row when the hero takes them, and the hearts shown as
// frames. A collected item is moved, not removed: its place on the row is how the hero
// and the other behaviours know it is held.
#include <cstdint>

#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"

namespace game {

namespace {

constexpr float kRowY = 459.0f;
constexpr float kKeyRowY = 461.0f;
constexpr int32_t kFirstKeyX = 169;
constexpr int32_t kKeySpacing = 25;
constexpr int32_t kMostHearts = 4;

bool TouchedHero(const quor::Sprite& sprite) { return sprite.HasTouched("Player"); }

// The hero takes the item to its slot on the row, with or without the item sound.
void Collect(quor::Sprite& item, float slotX, bool withSound) {
  if (!TouchedHero(item)) return;
  Park(item, slotX, kRowY);
  if (withSound) PlaySound("Item");
}

}  // namespace

void HatBehaviour(quor::Sprite& hat) { Collect(hat, 340.0f, false); }
void FireIconBehaviour(quor::Sprite& icon) { Collect(icon, 306.0f, true); }
void WaterIconBehaviour(quor::Sprite& icon) { Collect(icon, 357.0f, true); }
void DaggerBehaviour(quor::Sprite& dagger) { Collect(dagger, 323.0f, true); }
void BootBehaviour(quor::Sprite& boot) { Collect(boot, 374.0f, true); }
void GlassBehaviour(quor::Sprite& glass) { Collect(glass, 391.0f, true); }

// Keys can only be carried once the hat is worn; each goes to the next free place.
void KeyBehaviour(quor::Sprite& key) {
  if (!TouchedHero(key) || !IsOnStatusRow("Hat")) return;
  Park(key, static_cast<float>(KeyCount * kKeySpacing + kFirstKeyX), kKeyRowY);
  ++KeyCount;
  PlaySound("Key");
}

// Meat is left lying when the hearts are full.
void MeatBehaviour(quor::Sprite& meat) {
  if (!TouchedHero(meat) || HeartCount >= kMostHearts) return;
  Kill(meat);
  ++HeartCount;
  PlaySound("Meat");
}

// The frame is the number of hearts left. The count can stand outside the pictures for a
// frame (below 0 before "Lose" starts), so it is shown as the nearest picture there is.
void HeartsBehaviour(quor::Sprite& hearts) {
  ShowCountAsFrame(hearts, HeartCount);
  if (HeartCount > 0) return;
  RequestScene("Lose");
  HeartCount = kStartHearts;
}

}  // namespace game
