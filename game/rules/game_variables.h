// The game's variables: they live for the whole run, keep their values across scene
// switches, and are carried first in every saved game.
#pragma once

#include <cstdint>

namespace quor {
class ObjectStream;
}

namespace game {

extern int32_t KeyCount;    // keys collected in this level; the door opens at exactly 3
extern int32_t HeartCount;  // the hero's hearts; 0 or less loses the level
extern int32_t DirUp;       // direction codes, never written but by loading
extern int32_t DirDown;
extern int32_t DirLeft;
extern int32_t DirRight;
extern int32_t Facing;      // the direction code of the last arrow key held
extern int32_t Stage;       // the stage reached: the level that "StageIntro" leads to
extern int32_t DemonLife;   // life of the boss "Demon"
extern uint8_t AttackFired; // the boss has fired its one projectile of the current state
extern int32_t TenmaLife;   // life of the boss "Tenma"

// The stages "StageIntro" leads on from: 1 to "Level1", ... 7 to "Win".
constexpr int32_t kFirstStage = 1;
constexpr int32_t kLastStage = 7;

// The values a level starts from.
constexpr int32_t kStartHearts = 2;
constexpr int32_t kFullDemonLife = 12;
constexpr int32_t kFullTenmaLife = 19;

// The size of the variables' record in a saved game.
constexpr int kSavedVariablesSize = 41;

// Writes the eleven variables, 41 bytes, nothing before or between them.
void GameSaveVariables(quor::ObjectStream& stream);
// Reads them in the same order. A value no play can produce is brought to the nearest
// one that can, so a damaged file cannot lock the door or the bosses for good, nor leave
// "StageIntro" with no level to lead to.
void GameLoadVariables(quor::ObjectStream& stream);

// The start values of a new run (the program's own start, and tests).
void ResetGameVariables();

}  // namespace game
