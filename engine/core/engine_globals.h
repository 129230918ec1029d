// The engine's run state, one of each, set by the run function and the scene switch.
#pragma once

#include <cstdint>

namespace quor {

class GameNode;
class GameDirector;
class Keyboard;
class Mouse;
class Sprite;
class GammaRamp;
class OpenClose;
class RandomDissolve;

extern GameNode* CurrentGameNode;
extern GameDirector* CurrentGameDirector;
extern Keyboard* CurrentKeyboard;
extern Mouse* CurrentMouse;
// The sprite the viewport follows, or null.
extern Sprite* MainCharacter;
extern GammaRamp* GammaRampEffect;
extern OpenClose* OpenCloseEffect;
extern RandomDissolve* RandomDissolveEffect;
// 1 windowed, 0 full screen.
extern uint8_t Windowed;
// The current scene's palette bitmap name.
extern char PaletteName[32];
// Set while the window has no keyboard focus (or by F10); game work stops.
extern uint8_t Paused;
extern uint8_t MinimisedWhilePaused;
// Ends the main loop at its next check.
extern uint8_t QuitRequested;
// Whether the frame-rate box is shown (F11).
extern uint8_t FpsTextShown;
// Outer size of the main window and the desktop size.
extern int32_t WindowWidth, WindowHeight;
extern int32_t ScreenWidth, ScreenHeight;

}  // namespace quor
