// What the window manager did to the game's window on its own, read from the X11 event
// that tells it. Where the window is not an X11 one nothing is ever read.
#pragma once

struct SDL_Window;
struct SDL_SysWMmsg;

namespace platform {

// True when message tells that the window manager changed the window's state (its full
// screen key or menu, a pager); fullScreen is then whether the window is now full screen.
bool WindowManagerStateChanged(const SDL_SysWMmsg& message, SDL_Window* window, bool& fullScreen);

}  // namespace platform
