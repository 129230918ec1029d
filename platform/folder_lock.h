// The lock a game holds on a folder while it saves there.
#pragma once

#include <functional>

namespace platform {

// What the program does while a save waits for another game's save in the same folder: the
// handler is called with kBegins as the wait begins, with kGoesOn every few hundredths of a
// second while it lasts, and with kEnds once it is over (the folder had, or given up). One
// handler serves the whole program; without one the wait is only a wait.
enum class FolderWait { kBegins, kGoesOn, kEnds };
void SetFolderWaitHandler(std::function<void(FolderWait)> handler);
// Calls the handler, where there is one.
void TellFolderWait(FolderWait step);

}  // namespace platform
