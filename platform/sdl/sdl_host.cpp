#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/file_dialog.h"
#include "platform/font.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_video.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace platform {

namespace {

// While a modal box is up SDL's event loop does not run, so the quit that SDL makes of
// SIGINT and SIGTERM would wait for the box; the signals end the program at once instead.
class DefaultStopSignals {
 public:
  DefaultStopSignals() {
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    sigaction(SIGINT, &plain, &oldInt_);
    sigaction(SIGTERM, &plain, &oldTerm_);
  }
  ~DefaultStopSignals() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
  }
  DefaultStopSignals(const DefaultStopSignals&) = delete;
  DefaultStopSignals& operator=(const DefaultStopSignals&) = delete;

 private:
  struct sigaction oldInt_ {};
  struct sigaction oldTerm_ {};
};

// SDL's drivers that show nothing: the game would run where no one can see it.
bool Invisible(const char* driver) {
  return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "evdev") == 0;
}

// SDL's video on the driver the user named, else on the first one that reaches a display.
bool StartVideo() {
  const char* named = SDL_getenv("SDL_VIDEODRIVER");
  if (named && *named) return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = SDL_GetVideoDriver(i);
    if (!driver || Invisible(driver)) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  }
  return false;
}

// The folder of the running program, where the headless runner is built beside it.
std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string full(path, static_cast<size_t>(n));
  size_t slash = full.find_last_of('/');
  return slash == std::string::npos ? "." : full.substr(0, slash);
}

void SayNoDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  bool haveX11 = x11 && *x11, haveWayland = wayland && *wayland;
  std::string reason = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  if (haveX11) reason = std::string("the display DISPLAY=") + x11 + " could not be opened";
  else if (haveWayland) reason = std::string("the display WAYLAND_DISPLAY=") + wayland + " could not be opened";
  std::fprintf(stderr,
               "quor: no display was found (%s).\n"
               "  Start the game from a desktop session (X11 or Wayland), or play it without a\n"
               "  display with the headless runner, which writes chosen frames as PNG pictures:\n"
               "    %s/quor_headless --frames 600 --shot 300:frame.png\n"
               "  To run on one of SDL's invisible video drivers anyway, name it in\n"
               "  SDL_VIDEODRIVER (offscreen or dummy).\n",
               reason.c_str(), ProgramFolder().c_str());
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

void SdlHost::ShowMessageBox(const std::string& text, const std::string& caption,
                             MessageBoxIcon icon) {
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == MessageBoxIcon::Stop) flags = SDL_MESSAGEBOX_ERROR;
  if (icon == MessageBoxIcon::Exclamation) flags = SDL_MESSAGEBOX_WARNING;
  // Without a display the box cannot be shown; the text still reaches the terminal.
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  DefaultStopSignals stoppable;
  SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}

bool SdlHost::AcquireInstanceLock(const std::string& name) {
  switch (lock_.Acquire(name)) {
    case InstanceLock::Result::Held:
      return true;
    case InstanceLock::Result::HeldElsewhere:
      return false;
    case InstanceLock::Result::Unavailable:
      break;
  }
  // A lock file that cannot be made says nothing about another copy.
  std::fprintf(stderr, "quor: the single-instance lock could not be opened (%s); starting without it.\n",
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
    SayNoDisplay();
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

void SdlHost::SetCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void SdlHost::PumpEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    WindowMessage m;
    switch (e.type) {
      case SDL_QUIT:  // also what SIGINT and SIGTERM become
        m.kind = WindowEvent::CloseRequest;
        queue_.push_back(m);
        break;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_FOCUS_GAINED: m.kind = WindowEvent::FocusGained; break;
          case SDL_WINDOWEVENT_FOCUS_LOST: m.kind = WindowEvent::FocusLost; break;
          case SDL_WINDOWEVENT_MINIMIZED: m.kind = WindowEvent::Minimised; break;
          case SDL_WINDOWEVENT_EXPOSED:
            video_->Redraw();
            m.kind = WindowEvent::Expose;
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED: video_->Redraw(); break;
          case SDL_WINDOWEVENT_CLOSE: m.kind = WindowEvent::CloseRequest; break;
          default: break;
        }
        if (m.kind != WindowEvent::None) order_.Add(m, e.window.timestamp, queue_);
        break;
      default:
        input_->OnEvent(e);
        break;
    }
  }
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

namespace {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

bool OnPath(const char* program) {
  std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Runs a chooser and reads the one line it prints; false on cancel or failure.
bool RunChooser(const std::string& command, std::string& path) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  int status = pclose(pipe);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  if (status != 0 || output.empty()) return false;
  path = output;
  return true;
}

}  // namespace

bool SdlHost::PromptInWindow(const FileDialogRequest& request, std::string& path) {
  if (!video_->window) return false;
  FontRequest fontRequest;
  fontRequest.face = "Arial";
  fontRequest.height = -16;
  std::unique_ptr<Font> font = Font::Create(fontRequest);
  std::unique_ptr<Surface> page = Surface::Create(640, 480, PixelFormat::ForDepth(32));
  if (!font || !page) return false;
  bool save = request.kind == FileDialogKind::Save;
  std::string title = std::string(save ? "Save as" : "Open") + " - " + request.filterDescription;
  std::string typed, refusal;
  SDL_StartTextInput();
  bool answered = false, accepted = false;
  while (!answered) {
    std::string hint = refusal.empty() ? "Type a file name, Enter to accept, Escape to cancel."
                                       : "Type another name, or Escape to cancel.";
    page->Fill(nullptr, page->MatchColor(0x00402020));
    DrawText(*page, *font, 40, 160, title.c_str(), title.size(), 0x00FFFFFF);
    std::string line = typed + "_";
    DrawText(*page, *font, 40, 220, line.c_str(), line.size(), 0x0000FFFF);
    if (!refusal.empty()) DrawText(*page, *font, 40, 260, refusal.c_str(), refusal.size(), 0x006080FF);
    DrawText(*page, *font, 40, 300, hint.c_str(), hint.size(), 0x00C0C0C0);
    video_->Present(*page);
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, 100)) continue;
    if (e.type == SDL_TEXTINPUT) {
      typed += e.text.text;
    } else if (e.type == SDL_KEYDOWN) {
      SDL_Keycode key = e.key.keysym.sym;
      if (key == SDLK_BACKSPACE && !typed.empty()) {
        // A whole character goes, however many bytes it takes.
        while (typed.size() > 1 && (typed.back() & 0xC0) == 0x80) typed.pop_back();
        typed.pop_back();
      }
      if (key == SDLK_ESCAPE) answered = true;
      // A refused name stays typed, to be mended or replaced.
      if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && !typed.empty())
        answered = accepted = ResolveDialogAnswer(request, typed, path, refusal);
    } else if (e.type == SDL_QUIT) {
      queue_.push_back(WindowMessage{WindowEvent::CloseRequest});
      answered = true;
    }
  }
  SDL_StopTextInput();
  return accepted;
}

bool SdlHost::AskFileName(const FileDialogRequest& request, std::string& path) {
  bool save = request.kind == FileDialogKind::Save;
  std::string directory = request.initialDirectory.empty() ? "." : request.initialDirectory;
  std::string command, complaint;
  if (OnPath("zenity")) {
    command = "zenity --file-selection";
    if (save) command += " --save --confirm-overwrite";
    command += " --filename=" + ShellQuote(directory + "/");
    command += " --file-filter=" + ShellQuote(request.filterDescription + " | " + request.filterPattern);
    complaint = "zenity --error --no-markup --text=";
  } else if (OnPath("kdialog")) {
    command = save ? "kdialog --getsavefilename " : "kdialog --getopenfilename ";
    command += ShellQuote(directory) + " " +
               ShellQuote(request.filterPattern + "|" + request.filterDescription);
    complaint = "kdialog --error ";
  } else {
    return PromptInWindow(request, path);
  }
  for (;;) {
    std::string chosen, refusal;
    if (!RunChooser(command + " 2>/dev/null", chosen)) return false;
    if (ResolveDialogAnswer(request, chosen, path, refusal)) return true;
    // The chooser says why and asks again, as a dialog that must find its file does.
    std::string say = complaint + ShellQuote(refusal) + " >/dev/null 2>&1";
    if (std::system(say.c_str()) == -1) return false;
  }
}

VideoOutput& SdlHost::Video() { return *video_; }
AudioOutput& SdlHost::Audio() { return *audio_; }
InputSource& SdlHost::Input() { return *input_; }

}  // namespace platform
