// The hero: walking, facing, the items it uses from the status row, its two projectiles,
// the damage it takes, and the hidden level select.
#include <cstdint>

#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"
#include "platform/input_keys.h"

namespace game {

namespace {

// One of the four ways the hero can face: the arrow key that turns it there, where it
// walks, and the actions it walks and shouts with.
struct Heading {
  uint8_t key;
  const int32_t* code;  // the direction code Facing takes
  float dx, dy;
  int8_t walkAction;
  int8_t shoutAction;
};

// In the order the arrow keys are tested: with two held, the earlier one wins.
const Heading kHeadings[] = {
    {platform::KeyDown, &DirDown, 0.0f, 1.0f, 0, 4},
    {platform::KeyUp, &DirUp, 0.0f, -1.0f, 3, 5},
    {platform::KeyRight, &DirRight, 1.0f, 0.0f, 2, 7},
    {platform::KeyLeft, &DirLeft, -1.0f, 0.0f, 1, 6},
};

constexpr int8_t kTauntAction = 8;
constexpr float kBootSpeed = 4.0f;
// Where a projectile leaves the hero, from its top-left corner.
constexpr float kLaunchX = 1.0f;
constexpr float kLaunchY = 9.0f;
constexpr float kTrapPark = -100.0f;

// The heading the hero faces now, or null when Facing holds no direction code.
const Heading* FacingHeading() {
  for (const Heading& h : kHeadings)
    if (Facing == *h.code) return &h;
  return nullptr;
}

// Shows the shout of the heading; once it has played through, the hero walks on from
// the first picture.
void Shout(quor::Sprite& hero, const Heading& h) {
  hero.SetAction(h.shoutAction);
  if (hero.IsActionFinished(h.shoutAction)) {
    hero.SetAction(h.walkAction);
    hero.SetFrame(0);
  }
}

void Walk(quor::Sprite& hero) {
  for (const Heading& h : kHeadings) {
    if (!IsKeyHeld(h.key)) continue;
    hero.SetAction(h.walkAction);
    Aim(hero, h.dx, h.dy);
    Facing = *h.code;
    return;
  }
  // Standing: whatever action is shown stays, on its first picture.
  hero.SetFrame(0);
  Aim(hero, 0.0f, 0.0f);
}

void Taunt(quor::Sprite& hero) {
  if (IsKeyHeld(platform::KeyT)) {
    hero.SetAction(kTauntAction);
    PlaySound("Laugh");
  } else {
    hero.SetCollideWithSprites(1);
  }
}

void WearBoots(quor::Sprite& hero) {
  if (!IsOnStatusRow("Boot")) return;
  hero.SetSpeedX(kBootSpeed);
  hero.SetSpeedY(kBootSpeed);
}

// What the water does to the walls is the walls' own rule; the hero only shouts.
void ShoutWater(quor::Sprite& hero) {
  if (!IsKeyPressedNow(platform::KeyS) || !IsOnStatusRow("WaterIcon")) return;
  if (const Heading* h = FacingHeading()) Shout(hero, *h);
}

// One blast flies at a time: a new one leaves only while the last is parked.
void FireShot(quor::Sprite& hero) {
  if (!IsKeyPressedNow(platform::KeyD)) return;
  PlaySound("Fireball");
  if (!IsOnStatusRow("FireIcon")) return;
  quor::Sprite* blast = FindSprite("FireBlast");
  const Heading* h = FacingHeading();
  if (!blast || !IsParked(*blast) || !h) return;
  Park(*blast, hero.GetX() + kLaunchX, hero.GetY() + kLaunchY);
  // What the blast touched while parked off screen (a template parked beside it) stays
  // there: the new shot would be put away again before it ever flew.
  blast->ResetContacts();
  Aim(*blast, h->dx, h->dy);
  Shout(hero, *h);
}

// The trap stays where it was laid for as long as F is held, and is taken back as soon
// as F is let go.
void LayTrap(quor::Sprite& hero) {
  quor::Sprite* trap = FindSprite("Trap");
  if (!trap) return;
  if (!IsKeyHeld(platform::KeyF)) {
    trap->SetX(kTrapPark);
    return;
  }
  if (!IsOnStatusRow("Dagger") || !IsParked(*trap)) return;
  Park(*trap, hero.GetX() + kLaunchX, hero.GetY() + kLaunchY);
  const Heading* h = FacingHeading();
  if (!h) return;
  hero.SetAction(h->shoutAction);
  hero.SetFrame(0);
  if (hero.IsActionFinished(h->shoutAction)) {
    hero.SetAction(h->walkAction);
    if (h->key == platform::KeyLeft) hero.SetFrame(0);
  }
}

// What hurts, in four groups; each group costs its hearts once a frame, however many of
// its members the hero touched, and the groups add up.
struct DamageGroup {
  const char* const* names;
  int count;
  int32_t hearts;
};

const char* const kLightHarm[] = {"FireBall", "FireBall2", "FireBall3",     "FireBall4",
                                  "Spinner1", "Helmit",    "Laser Beam Up", "Laser Beam Across",
                                  "Ball",     "Tball"};
const char* const kHeavyHarm[] = {"Spear",        "Spear1",       "Spear2",       "Spear3",
                                  "Mellon Man 1", "Mellon Man 2", "Mellon Man 3", "Mellon Man 4",
                                  "Laser1",       "Laser2",       "Barf",         "Tlaser"};
const char* const kBlobHarm[] = {"Tblob"};
const char* const kBossHarm[] = {"Demon", "Tenma"};

template <int N>
constexpr DamageGroup Group(const char* const (&names)[N], int32_t hearts) {
  return DamageGroup{names, N, hearts};
}

const DamageGroup kDamageGroups[] = {Group(kLightHarm, 1), Group(kHeavyHarm, 2),
                                     Group(kBlobHarm, 3), Group(kBossHarm, 4)};

void TakeDamage(const quor::Sprite& hero) {
  for (const DamageGroup& group : kDamageGroups) {
    for (int i = 0; i < group.count; ++i) {
      if (hero.HasTouched(group.names[i])) {
        HeartCount -= group.hearts;
        break;
      }
    }
  }
}

// The hidden level select: both left-hand modifiers held while a digit goes down. The
// digits follow the order of the stages. Keys carried in from another level would push
// the count past the three that open the door, so the count starts again.
const struct {
  uint8_t digit;
  const char* scene;
} kLevelSelect[] = {
    {platform::Key1, "Level1"}, {platform::Key2, "Level2"}, {platform::Key3, "MidBoss"},
    {platform::Key4, "Level3"}, {platform::Key5, "Level4"}, {platform::Key6, "FinalLevel"},
};

void SelectLevel() {
  if (!IsKeyHeld(platform::KeyLeftControl) || !IsKeyHeld(platform::KeyLeftShift)) return;
  for (const auto& choice : kLevelSelect) {
    if (!IsKeyPressedNow(choice.digit)) continue;
    RequestScene(choice.scene);
    KeyCount = 0;
    return;
  }
}

}  // namespace

void PlayerBehaviour(quor::Sprite& hero) {
  Walk(hero);
  Taunt(hero);
  WearBoots(hero);
  ShoutWater(hero);
  FireShot(hero);
  LayTrap(hero);
  TakeDamage(hero);
  SelectLevel();
}

}  // namespace game
