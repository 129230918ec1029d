// Which constant table fills which entry of the animation table.
#include "game/animation/animation_data.h"

namespace game {

namespace {

const EntryData kNoEntry;

// Entry 22 and entries 33 to 49 are never filled; entry 50 is the engine's.
const EntryData* const kEntries[] = {
    &kMellonManSet,    // 0
    &kDoorsSet,        // 1
    &kFireBallSet,     // 2
    &kSpearSet,        // 3
    &kHeroSet,         // 4
    &kSpinnerSet,      // 5
    &kHatSet,          // 6
    &kDaggerSet,       // 7
    &kFireIconSet,     // 8
    &kWaterIconSet,    // 9
    &kKeysSet,         // 10
    &kBootSet,         // 11
    &kFireBlastSet,    // 12
    &kMeatSet,         // 13
    &kHeartsSet,       // 14
    &kDoorSet,         // 15
    &kPromptSet,       // 16
    &kHelmitSet,       // 17
    &kCoversSet,       // 18
    &kGlassSet,        // 19
    &kTrapSet,         // 20
    &kWallSet,         // 21
    &kNoEntry,         // 22
    &kLaserBeamSet,    // 23
    &kLaserTrapSet,    // 24
    &kFallingSet,      // 25
    &kDemonLifeSet,    // 26
    &kIntroSet,        // 27
    &kDemonSet,        // 28
    &kDemonAttackSet,  // 29
    &kTenmaSet,        // 30
    &kTenmaAttackSet,  // 31
    &kTenmaLifeSet,    // 32
};

}  // namespace

const EntryData& AnimationEntryData(int index) {
  if (index < 0 || index >= static_cast<int>(sizeof kEntries / sizeof kEntries[0]))
    return kNoEntry;
  return *kEntries[index];
}

}  // namespace game
