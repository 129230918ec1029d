#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/box_panel.h"
#include "platform/files.h"
#include "platform/notice_band.h"
#include "platform/program_folder.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/window_manager_state.h"

namespace platform {

namespace {

// SDL's drivers that show nothing: the game would run where no one can see it.
bool Invisible(const char* driver) {
  return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "evdev") == 0;
}

// Whether libwayland would try to reach a compositor at all: through a socket handed
// down, a socket named by its full path, or one in the runtime folder, which it takes only
// as a full path. Where it would not, its complaint about XDG_RUNTIME_DIR would come before
// the game's own word on the missing display.
bool WaylandReachable() {
  const char* socket = std::getenv("WAYLAND_SOCKET");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return (socket && *socket) || (runtime && runtime[0] == '/') || (display && display[0] == '/');
}

// SDL's video on the driver the user named, else on the first one that reaches a display.
bool StartVideo() {
  const char* named = SDL_getenv("SDL_VIDEODRIVER");
  if (named && *named) return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = SDL_GetVideoDriver(i);
    if (!driver || Invisible(driver)) continue;
    if (std::strcmp(driver, "wayland") == 0 && !WaylandReachable()) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  }
  return false;
}

// Whether the folder holds the game's pictures, found as the game finds them.
bool HoldsGameFiles(const std::string& folder) { return FolderExists(folder + "/BITMAPS"); }

// Why the game cannot show its window, said on the terminal with what the player can do.
// sdlSaid is SDL's word on the failed start of its video.
void SayNoDisplay(const std::string& sdlSaid) {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* named = SDL_getenv("SDL_VIDEODRIVER");
  bool haveX11 = x11 && *x11, haveWayland = wayland && *wayland;
  std::string display = haveX11       ? std::string("DISPLAY=") + x11
                        : haveWayland ? std::string("WAYLAND_DISPLAY=") + wayland
                                      : "";
  if (named && *named) {
    // Only the driver named was tried: the display may well be there, and the name at fault.
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
      const char* driver = SDL_GetVideoDriver(i);
      if (driver && !Invisible(driver))
        drivers += (drivers.empty() ? "" : ", ") + std::string(driver);
    }
    std::fprintf(
        stderr,
        "quor: the video driver named in SDL_VIDEODRIVER=%s could not be started (SDL: %s).\n",
        named, sdlSaid.c_str());
    if (!display.empty()) {
      std::fprintf(stderr,
                   "  For the display %s, unset SDL_VIDEODRIVER to let the game choose the\n"
                   "  driver itself, or name one of the drivers that show a window: %s.\n",
                   display.c_str(), drivers.empty() ? "none" : drivers.c_str());
      return;
    }
    std::fprintf(stderr,
                 "  Nor was a display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
  } else {
    std::fprintf(stderr, "quor: no display was found (%s).\n",
                 display.empty() ? "neither DISPLAY nor WAYLAND_DISPLAY is set"
                                 : ("the display " + display + " could not be opened").c_str());
  }
  // The suggested command must work where the player stands, which is seldom the folder
  // the game ran in (./play moves into the game's folder beside the program): every
  // folder is named in full.
  std::string program = ProgramFolder();
  std::string dir;
  if (HoldsGameFiles("."))
    dir = " --dir " + ShellWord(CurrentDirectory());
  else if (HoldsGameFiles(program + "/game")) dir = " --dir " + ShellWord(program + "/game");
  std::fprintf(stderr,
               "  Start the game from a desktop session (X11 or Wayland), or play it without a\n"
               "  display with the headless runner, which writes chosen frames as PNG pictures:\n"
               "    %s/quor_headless%s --frames 600 --shot 300:frame.png\n"
               "%s"
               "  To run on one of SDL's invisible video drivers anyway, name it in\n"
               "  SDL_VIDEODRIVER (offscreen or dummy).\n",
               ShellWord(program).c_str(), dir.c_str(),
               dir.empty()
                   ? "  (with --dir naming the folder that holds the game's BITMAPS and Sounds)\n"
                   : "");
}

}  // namespace

SdlHost::SdlHost()
    : video_(new SdlVideo), audio_(new SdlAudio), input_(new SdlInput) {
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS);
}

SdlHost::~SdlHost() {
  DestroyMainWindow();
  SDL_Quit();
}

uint32_t SdlHost::Milliseconds() { return clock_.Milliseconds(); }

void SdlHost::Sleep(uint32_t ms) { SDL_Delay(ms); }

void SdlHost::SleepUntil(uint32_t deadline) { clock_.SleepUntil(deadline); }

int64_t SdlHost::CalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

bool SdlHost::AcquireInstanceLock(const std::string& name) {
  const InstanceLock::Result copy = lock_.Acquire(name);
  // A lock that cannot be had says nothing about another copy.
  if (copy == InstanceLock::Result::Unavailable)
    std::fprintf(stderr,
                 "quor: the single-instance lock could not be taken (%s); starting without it.\n",
                 lock_.Problem().c_str());
  // The folder is asked of a copy refused too: where the other copy runs in this folder, the
  // refusal says whose game it is, as it does for another user's game here.
  const InstanceLock::Result folder = lock_.AcquireFolder(CurrentDirectory());
  if (copy == InstanceLock::Result::HeldElsewhere || folder == InstanceLock::Result::HeldElsewhere) {
    lock_.Release();
    return false;
  }
  if (folder == InstanceLock::Result::Unavailable)
    std::fprintf(stderr, "quor: the game's folder could not be locked (%s); starting without it.\n",
                 lock_.Problem().c_str());
  return true;
}

void SdlHost::ReleaseInstanceLock() { lock_.Release(); }

bool SdlHost::EnsureVideo() {
  if (videoStarted_) return true;
  if (!StartVideo()) return false;
  SDL_DisableScreenSaver();
  videoStarted_ = true;
  return true;
}

bool SdlHost::CreateMainWindow(const std::string& title, int width, int height,
                               bool fullScreen) {
  if (!EnsureVideo()) {
    SayNoDisplay(SDL_GetError());
    return false;
  }
  // A fixed frame: the window is the display's size and the user cannot resize it.
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
  if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  video_->window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                    SDL_WINDOWPOS_CENTERED, width, height, flags);
  if (!video_->window) {
    std::fprintf(stderr, "quor: %s\n", SDL_GetError());
    return false;
  }
  title_ = title;
  input_->SetClientSize(width, height);
  // The window manager's changes to the window's state come only as the display's own events.
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  return true;
}

void SdlHost::DestroyMainWindow() {
  if (!video_->window) return;
  video_->ReleaseWindow();
  SDL_DestroyWindow(video_->window);
  video_->window = nullptr;
  queue_.push_back(WindowMessage{WindowEvent::Destroyed});
}

bool SdlHost::HasMainWindow() const { return video_->window != nullptr; }

bool SdlHost::WindowSeen() const {
  const char* driver = SDL_GetCurrentVideoDriver();
  return video_->window && driver && !Invisible(driver);
}

void SdlHost::SetWindowTitle(const std::string& title) {
  title_ = title;
  if (video_->window) SDL_SetWindowTitle(video_->window, title.c_str());
}

std::string SdlHost::WindowTitle() const { return title_; }

void SdlHost::DesktopSize(int& width, int& height) {
  SDL_DisplayMode mode;
  if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    width = mode.w;
    height = mode.h;
  } else {
    width = 640;
    height = 480;
  }
}

void SdlHost::ShowNotice(const std::string& text) {
  if (text.empty()) {
    video_->HideNotice();
    return;
  }
  if (!notice_) notice_ = NoticeBand::Create();
  if (notice_) video_->ShowNotice(notice_->Draw(text));
}

void SdlHost::SetCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void SdlHost::Dispatch(const SDL_Event& e) {
  WindowMessage m;
  switch (e.type) {
    case SDL_QUIT:  // also what SIGINT and SIGTERM become
      m.kind = WindowEvent::CloseRequest;
      queue_.push_back(m);
      ending_ = true;
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: m.kind = WindowEvent::FocusGained; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: m.kind = WindowEvent::FocusLost; break;
        case SDL_WINDOWEVENT_MINIMIZED: m.kind = WindowEvent::Minimised; break;
        case SDL_WINDOWEVENT_SHOWN:
          // Without a window manager nobody else gives the window the keyboard.
          if (!WindowManagerServes(video_->window)) SDL_SetWindowInputFocus(video_->window);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          video_->Redraw();
          m.kind = WindowEvent::Expose;
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: video_->Redraw(); break;
        case SDL_WINDOWEVENT_CLOSE:
          m.kind = WindowEvent::CloseRequest;
          ending_ = true;
          break;
        default: break;
      }
      if (m.kind != WindowEvent::None) order_.Add(m, e.window.timestamp, queue_);
      break;
    case SDL_SYSWMEVENT: {
      bool fullScreen = false;
      if (e.syswm.msg && WindowManagerStateChanged(*e.syswm.msg, video_->window, fullScreen))
        video_->FollowWindowManager(fullScreen);
      break;
    }
    default:
      input_->OnEvent(e);
      break;
  }
}

void SdlHost::PumpEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) Dispatch(e);
}

bool SdlHost::ServiceWindow() {
  const InputWait wait(*input_);
  PumpEvents();
  return !ending_;
}

bool SdlHost::TakeMessage(WindowMessage& message) {
  PumpEvents();
  if (queue_.empty()) return false;
  message = queue_.front();
  queue_.pop_front();
  return true;
}

void SdlHost::PostQuit(int code) {
  WindowMessage m;
  m.kind = WindowEvent::Quit;
  m.code = code;
  queue_.push_back(m);
}

VideoOutput& SdlHost::Video() { return *video_; }
AudioOutput& SdlHost::Audio() { return *audio_; }
InputSource& SdlHost::Input() { return *input_; }

}  // namespace platform
