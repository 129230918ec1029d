#include "game/rules/game_variables.h"

#include <algorithm>

#include "engine/core/object_stream.h"

namespace game {

int32_t KeyCount = 0;
int32_t HeartCount = 2;
int32_t DirUp = 1;
int32_t DirDown = 2;
int32_t DirLeft = 3;
int32_t DirRight = 4;
int32_t Facing = 1;
int32_t Stage = 1;
int32_t DemonLife = 12;
uint8_t AttackFired = 0;
int32_t TenmaLife = 19;

namespace {

constexpr int32_t kMaxKeys = 3;
constexpr int32_t kMaxHearts = 4;

// The direction codes are constants that happen to be saved: play never changes them.
void KeepDirectionCodes() {
  DirUp = 1;
  DirDown = 2;
  DirLeft = 3;
  DirRight = 4;
}

}  // namespace

void GameSaveVariables(quor::ObjectStream& stream) {
  for (int32_t value : {KeyCount, HeartCount, DirUp, DirDown, DirLeft, DirRight, Facing, Stage,
                        DemonLife})
    stream.WriteLong(value);
  stream.WriteByte(AttackFired);
  stream.WriteLong(TenmaLife);
}

void GameLoadVariables(quor::ObjectStream& stream) {
  for (int32_t* value : {&KeyCount, &HeartCount, &DirUp, &DirDown, &DirLeft, &DirRight, &Facing,
                         &Stage, &DemonLife})
    stream.ReadLong(value);
  stream.ReadByte(&AttackFired);
  stream.ReadLong(&TenmaLife);

  KeepDirectionCodes();
  if (Facing < DirUp || Facing > DirRight) Facing = DirUp;
  KeyCount = std::clamp(KeyCount, 0, kMaxKeys);
  HeartCount = std::min(HeartCount, kMaxHearts);
  Stage = std::clamp(Stage, kFirstStage, kLastStage);
  DemonLife = std::clamp(DemonLife, 0, kFullDemonLife);
  TenmaLife = std::clamp(TenmaLife, 0, kFullTenmaLife);
}

void ResetGameVariables() {
  KeyCount = 0;
  HeartCount = kStartHearts;
  KeepDirectionCodes();
  Facing = DirUp;
  Stage = kFirstStage;
  DemonLife = kFullDemonLife;
  AttackFired = 0;
  TenmaLife = kFullTenmaLife;
}

}  // namespace game
