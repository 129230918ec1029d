// The program's run function: start-up in its fixed order, the main loop, shutdown.
#pragma once

#include "platform/host.h"

namespace quor {

// What RunApplication returns when the program could not start: a start-up step failed
// (another copy runs, no sound device, no window, no graphics, the game's own set-up), or
// the first scene could not be entered (its files are missing, most often). Each failure
// has said why in a box (or, without a window, on the terminal) before.
constexpr int kStartUpFailed = 1;
constexpr int kFirstSceneFailed = 2;

// Runs the whole program on the installed host; returns the exit value: the quit
// message's, or one of the two above.
int RunApplication();

// The window: its outer size for the display size, creation, and its message handling.
void WindowSizeForClient(int32_t* width, int32_t* height);
bool CreateMainWindow();
void MainWindowProc(const platform::WindowMessage& message);

// The main loop: one iteration per frame until a quit message or the quit request.
// Returns the exit value carried by the last message; ranAFrame, when given, tells
// whether the engine's work of any frame was done.
int RunMainLoop(bool* ranAFrame = nullptr);
// The engine's work of one frame.
void RunEngineFrame();

}  // namespace quor
