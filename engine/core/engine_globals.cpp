#include "engine/core/engine_globals.h"

namespace quor {

GameNode* CurrentGameNode = nullptr;
GameDirector* CurrentGameDirector = nullptr;
Keyboard* CurrentKeyboard = nullptr;
Mouse* CurrentMouse = nullptr;
Sprite* MainCharacter = nullptr;
GammaRamp* GammaRampEffect = nullptr;
OpenClose* OpenCloseEffect = nullptr;
RandomDissolve* RandomDissolveEffect = nullptr;
uint8_t Windowed = 0;
char PaletteName[32] = {};
uint8_t Paused = 0;
uint8_t MinimisedWhilePaused = 0;
uint8_t QuitRequested = 0;
uint8_t FpsTextShown = 0;
int32_t WindowWidth = 0, WindowHeight = 0;
int32_t ScreenWidth = 0, ScreenHeight = 0;

}  // namespace quor
