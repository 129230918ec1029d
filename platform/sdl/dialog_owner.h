// Keeps the windows of a dialog program (a chooser, a question) above the game's window
// until they are gone: the desktop's dialog programs make top-level windows of their own,
// which a click on the game would bury under it, leaving the game waiting behind its
// picture. Each such window is marked as a dialog of the game's window, which the window
// manager keeps above it. Where the game's window is not an X11 one (Wayland, no window
// yet) it does nothing, and the dialogs behave as before.
#pragma once

#include <sys/types.h>

#include <set>

struct SDL_Window;
struct _XDisplay;

namespace platform {

class DialogOwner {
 public:
  // program: the process the dialog runs in; its descendants' windows count as its own.
  DialogOwner(SDL_Window* owner, pid_t program);
  DialogOwner(const DialogOwner&) = delete;
  DialogOwner& operator=(const DialogOwner&) = delete;

  // Marks the program's windows that the window manager has taken on since the last call.
  void Adopt();

 private:
  _XDisplay* display_ = nullptr;
  unsigned long owner_ = 0;
  unsigned long root_ = 0;
  pid_t program_;
  std::set<unsigned long> seen_;  // each window is looked at once
};

// The owner to give an SDL message box, which keeps the box above it until it is
// answered: the window itself where SDL's boxes can belong to it (X11, Wayland), else none,
// as before there is a window (SDL's boxes would take a window of another driver, such as
// offscreen or dummy, for one of their own kind).
SDL_Window* BoxOwner(SDL_Window* window);

}  // namespace platform
