// The program's run function: start-up in its fixed order, the main loop, shutdown.
#pragma once

#include "platform/host.h"

namespace quor {

// Runs the whole program on the installed host; returns the exit value.
int RunApplication();

// The window: its outer size for the display size, creation, and its message handling.
void WindowSizeForClient(int32_t* width, int32_t* height);
bool CreateMainWindow();
void MainWindowProc(const platform::WindowMessage& message);

// The main loop: one iteration per frame until a quit message or the quit request.
// Returns the exit value carried by the last message.
int RunMainLoop();
// The engine's work of one frame.
void RunEngineFrame();

}  // namespace quor
