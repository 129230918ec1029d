#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/file_dialog.h"
#include "platform/files.h"
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

// The folder of the running program, where the headless runner is built beside it.
std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string full(path, static_cast<size_t>(n));
  size_t slash = full.find_last_of('/');
  return slash == std::string::npos ? "." : full.substr(0, slash);
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

// A path as the user would type it into a shell: quoted only where it must be.
std::string ShellWord(const std::string& text) {
  for (char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("/._+-,:=@%", c))
      return ShellQuote(text);
  return text;
}

// Whether the folder holds the game's pictures, found as the game finds them.
bool HoldsGameFiles(const std::string& folder) { return FolderExists(folder + "/BITMAPS"); }

void SayNoDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  bool haveX11 = x11 && *x11, haveWayland = wayland && *wayland;
  std::string reason = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  if (haveX11) reason = std::string("the display DISPLAY=") + x11 + " could not be opened";
  else if (haveWayland) reason = std::string("the display WAYLAND_DISPLAY=") + wayland + " could not be opened";
  // The suggested command must work where the player stands, which is seldom the game's
  // own folder: ./play runs the game in the folder beside the program.
  std::string program = ProgramFolder();
  std::string dir;
  if (HoldsGameFiles(".")) dir = " --dir .";
  else if (HoldsGameFiles(program + "/game")) dir = " --dir " + ShellWord(program + "/game");
  std::fprintf(stderr,
               "quor: no display was found (%s).\n"
               "  Start the game from a desktop session (X11 or Wayland), or play it without a\n"
               "  display with the headless runner, which writes chosen frames as PNG pictures:\n"
               "    %s/quor_headless%s --frames 600 --shot 300:frame.png\n"
               "%s"
               "  To run on one of SDL's invisible video drivers anyway, name it in\n"
               "  SDL_VIDEODRIVER (offscreen or dummy).\n",
               reason.c_str(), ShellWord(program).c_str(), dir.c_str(),
               dir.empty() ? "  (with --dir naming the folder that holds the game's BITMAPS and Sounds)\n"
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

void SdlHost::Dispatch(const SDL_Event& e, bool deliverInput) {
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
      if (deliverInput) input_->OnEvent(e);
      break;
  }
}

void SdlHost::PumpEvents(bool deliverInput) {
  SDL_Event e;
  while (SDL_PollEvent(&e)) Dispatch(e, deliverInput);
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

bool OnPath(const char* program) {
  std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// A dialog's child is waited for in steps this long, the window serviced between them:
// short enough for the window manager's ping and for redrawing an uncovered window, long
// enough that the wait costs no processor time to speak of.
constexpr int kDialogStepMs = 50;

}  // namespace

int SdlHost::RunDialogProgram(const std::string& command, std::string* output) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t child = 0;
  int spawned = posix_spawn(&child, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv),
                            environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  int fd = pipeFds[0];
  if (spawned != 0) {
    close(fd);
    return -1;
  }
  auto readSome = [&]() {
    char buffer[512];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      if (output) output->append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      close(fd);
      fd = -1;
    }
  };
  // The child is never hurried: a close request made meanwhile is honoured once the user
  // has finished with the dialog.
  int status = 0;
  for (;;) {
    pollfd waitFor{fd, POLLIN, 0};
    if (poll(fd >= 0 ? &waitFor : nullptr, fd >= 0 ? 1 : 0, kDialogStepMs) > 0) readSome();
    // Pings answered, an uncovered window redrawn, closes kept for the frame.
    PumpEvents(false);
    pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == child) break;
    if (ended < 0 && errno != EINTR) {
      status = -1;
      break;
    }
  }
  // What the child printed just before it ended is still in the pipe; something it left
  // running may hold the pipe open, so only what is there now is read.
  while (fd >= 0) {
    pollfd waitFor{fd, POLLIN, 0};
    if (poll(&waitFor, 1, 0) <= 0) break;
    readSome();
  }
  if (fd >= 0) close(fd);
  return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
  // While question is set, the typed name waits for a yes or no to replacing its file.
  std::string typed, refusal, question;
  SDL_StartTextInput();
  bool answered = false, accepted = false;
  while (!answered) {
    std::string hint = !question.empty() ? "Y or Enter replaces it; N or Escape goes back to the name."
                       : refusal.empty() ? "Type a file name, Enter to accept, Escape to cancel."
                                         : "Type another name, or Escape to cancel.";
    const std::string& notice = question.empty() ? refusal : question;
    page->Fill(nullptr, page->MatchColor(0x00402020));
    DrawText(*page, *font, 40, 160, title.c_str(), title.size(), 0x00FFFFFF);
    std::string line = question.empty() ? typed + "_" : typed;
    DrawText(*page, *font, 40, 220, line.c_str(), line.size(), 0x0000FFFF);
    if (!notice.empty()) DrawText(*page, *font, 40, 260, notice.c_str(), notice.size(), 0x006080FF);
    DrawText(*page, *font, 40, 300, hint.c_str(), hint.size(), 0x00C0C0C0);
    video_->Present(*page);
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, 100)) continue;
    bool closing = e.type == SDL_QUIT ||
                   (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE);
    // A held key repeats: Enter held after the name must not also answer the question.
    bool firstPress = e.type == SDL_KEYDOWN && !e.key.repeat;
    SDL_Keycode key = e.type == SDL_KEYDOWN ? e.key.keysym.sym : SDLK_UNKNOWN;
    bool enter = firstPress && (key == SDLK_RETURN || key == SDLK_KP_ENTER);
    bool escape = firstPress && key == SDLK_ESCAPE;
    if (closing) {
      // The frame honours the close once the prompt is gone.
      Dispatch(e, false);
      answered = true;
    } else if (e.type != SDL_TEXTINPUT && e.type != SDL_KEYDOWN) {
      Dispatch(e, false);
    } else if (!question.empty()) {
      // Y and N are taken as typed text, so that the N's own text never lands in the name
      // the user goes back to.
      std::string text = e.type == SDL_TEXTINPUT ? e.text.text : "";
      if (enter || text == "y" || text == "Y") answered = accepted = true;
      if (escape || text == "n" || text == "N") question.clear();
    } else if (e.type == SDL_TEXTINPUT) {
      typed += e.text.text;
    } else {
      if (key == SDLK_BACKSPACE && !typed.empty()) {
        // A whole character goes, however many bytes it takes.
        while (typed.size() > 1 && (typed.back() & 0xC0) == 0x80) typed.pop_back();
        typed.pop_back();
      }
      if (escape) answered = true;
      // A refused name stays typed, to be mended or replaced.
      if (enter && !typed.empty() && ResolveDialogAnswer(request, typed, path, refusal))
        answered = accepted = !AskBeforeReplacing(request, path, "", question);
    }
  }
  SDL_StopTextInput();
  return accepted;
}

bool SdlHost::AskFileName(const FileDialogRequest& request, std::string& path) {
  bool save = request.kind == FileDialogKind::Save;
  bool zenity = OnPath("zenity");
  if (!zenity && !OnPath("kdialog")) return PromptInWindow(request, path);
  std::string directory = request.initialDirectory.empty() ? "." : request.initialDirectory;
  // The chooser opens in the dialog's folder, or at the name it gave when the user would
  // not replace that file.
  auto chooser = [&](const std::string& start) {
    if (zenity)
      return std::string("zenity --file-selection") + (save ? " --save" : "") +
             " --filename=" + ShellQuote(start) + " --file-filter=" +
             ShellQuote(request.filterDescription + " | " + request.filterPattern);
    return std::string(save ? "kdialog --getsavefilename " : "kdialog --getopenfilename ") +
           ShellQuote(start) + " " + ShellQuote(request.filterPattern + "|" + request.filterDescription);
  };
  // The chooser's own overwrite question would ask about the name as typed, before the
  // default extension is added; the question is asked here instead, about the file that
  // will be written.
  std::string complaint = zenity ? "zenity --error --no-markup --text=" : "kdialog --error ";
  std::string replace = zenity ? "zenity --question --no-markup --text=" : "kdialog --warningyesno ";
  std::string start = zenity ? directory + "/" : directory;
  for (;;) {
    std::string chosen, refusal, question;
    if (RunDialogProgram(chooser(start) + " 2>/dev/null", &chosen) != 0) return false;
    while (!chosen.empty() && (chosen.back() == '\n' || chosen.back() == '\r')) chosen.pop_back();
    if (chosen.empty()) return false;
    if (!ResolveDialogAnswer(request, chosen, path, refusal)) {
      // The chooser says why and asks again, as a dialog that must find its file does.
      if (RunDialogProgram(complaint + ShellQuote(refusal) + " >/dev/null 2>&1", nullptr) < 0)
        return false;
      continue;
    }
    if (!AskBeforeReplacing(request, path, "", question)) return true;
    if (RunDialogProgram(replace + ShellQuote(question) + " >/dev/null 2>&1", nullptr) == 0)
      return true;
    start = path;
  }
}

VideoOutput& SdlHost::Video() { return *video_; }
AudioOutput& SdlHost::Audio() { return *audio_; }
InputSource& SdlHost::Input() { return *input_; }

}  // namespace platform
