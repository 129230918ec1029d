// The behaviours that move the player from scene to scene: Space on the screens that wait
// for it, and the end of an animation on the ones that play one.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"
#include "platform/input_keys.h"

namespace game {

namespace {

// The scene that each stage leads to, from stage 1.
constexpr const char* kStageScenes[] = {"Level1", "Level2",     "MidBoss", "Level3",
                                        "Level4", "FinalLevel", "Win"};
constexpr int32_t kFirstBossStage = 3;
constexpr int32_t kFinalBossStage = 6;
constexpr int32_t kIntroActions = 6;

bool SpacePressed() { return IsKeyPressedNow(platform::KeySpace); }

// A level is entered with the hearts and keys of a new start and with every boss still to
// come at full life. The final boss's life is reset whenever its level is entered, so it
// never starts from what an earlier visit left of it.
void StartStage(int32_t lastStage) {
  if (Stage < kFirstStage || Stage > lastStage) return;
  RequestScene(kStageScenes[Stage - 1]);
  KeyCount = 0;
  HeartCount = kStartHearts;
  if (Stage >= kFirstBossStage) DemonLife = kFullDemonLife;
  if (Stage >= kFinalBossStage) TenmaLife = kFullTenmaLife;
}

}  // namespace

void TitleBehaviour(quor::Sprite&) {
  // A playing effect is not cut off, so the theme repeats end to end while the title shows.
  PlaySound("VrendleQuest");
  if (SpacePressed()) RequestScene("Instruct");
}

void InstructBehaviour(quor::Sprite&) {
  if (!SpacePressed()) return;
  RequestScene("StageIntro");
  KeyCount = 0;
  HeartCount = kStartHearts;
}

void IntroBehaviour(quor::Sprite& film) {
  for (int8_t action = 0; action + 1 < kIntroActions; ++action) {
    if (film.IsActionFinished(action)) {
      film.SetAction(static_cast<int8_t>(action + 1));
      film.SetFrame(0);
      break;
    }
  }
  if (SpacePressed()) RequestScene("Title");
}

void StageIntroBehaviour(quor::Sprite& fall) {
  if (fall.IsActionFinished(0)) {
    fall.SetAction(1);
    fall.SetFrame(0);
  }
  if (fall.IsActionFinished(1)) StartStage(kLastStage);
}

// The game-over screen goes back to the level that was lost, which is never beyond the
// final boss's.
void ContinueBehaviour(quor::Sprite&) {
  if (SpacePressed()) StartStage(kFinalBossStage);
}

void FinalDoorFallBehaviour(quor::Sprite& fall) {
  if (!fall.IsActionFinished(2)) return;
  RequestScene("Win");
  KeyCount = 0;
  HeartCount = kStartHearts;
  DemonLife = kFullDemonLife;
  TenmaLife = kFullTenmaLife;
}

void RestartBehaviour(quor::Sprite&) {
  if (!SpacePressed()) return;
  RequestScene("Start");
  KeyCount = 0;
  HeartCount = kStartHearts;
}

}  // namespace game
