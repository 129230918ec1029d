// The dialogs of the player's host: the desktop's chooser and boxes (zenity or kdialog) run
// as programs of their own while the game's window is serviced; where the desktop has none,
// or no window manager serves the window, a prompt typed into the game window and boxes
// drawn over its picture; and SDL's own box where there is no window to draw in.
#include <SDL.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/box_panel.h"
#include "platform/dialog_program.h"
#include "platform/file_dialog.h"
#include "platform/file_prompt.h"
#include "platform/sdl/dialog_owner.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/window_manager_state.h"

namespace platform {

namespace {

// A dialog program is waited for in steps this long, the window serviced between them:
// short enough for the window manager's ping and for redrawing an uncovered window, long
// enough that the wait costs no processor time to speak of.
constexpr int kDialogStepMs = 50;

// While SDL's box is up SDL's event loop does not run, so the quit that SDL makes of SIGINT
// and SIGTERM would wait for the box; the signals end the program at once instead.
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

// SDL shows its box in a copy of the game made for it (a fork), which would stay on the
// screen after the game it belongs to was stopped or killed: while SDL opens one, each copy
// made is told to end with the game.
std::atomic<pid_t> sdlBoxGame{0};
void EndWithTheGame() {
  const pid_t game = sdlBoxGame.load();
  if (game == 0) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != game) _exit(0);
}
class SdlBoxGoesWithTheGame {
 public:
  SdlBoxGoesWithTheGame() {
    static const bool registered = pthread_atfork(nullptr, nullptr, EndWithTheGame) == 0;
    if (registered) sdlBoxGame = getpid();
  }
  ~SdlBoxGoesWithTheGame() { sdlBoxGame = 0; }
  SdlBoxGoesWithTheGame(const SdlBoxGoesWithTheGame&) = delete;
  SdlBoxGoesWithTheGame& operator=(const SdlBoxGoesWithTheGame&) = delete;
};

// The desktop's dialog program that asks the player of the window given. Where no window
// manager serves the window there is none: nobody would fit a dialog's window to the
// screen nor give it the keyboard, nor give the keyboard back to the game once it closed,
// and the prompt and boxes drawn in the game's window take their place.
DesktopDialogs DialogProgramFor(SDL_Window* window) {
  return WindowManagerServes(window) ? FindDesktopDialogs() : DesktopDialogs::None;
}

bool Closing(const SDL_Event& e) {
  return e.type == SDL_QUIT || (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE);
}

}  // namespace

int SdlHost::RunDialogProgram(const std::vector<std::string>& command, std::string* output) {
  // Once the player has asked the game to end, nothing more is asked of them.
  if (ending_) return -1;
  DialogProgram program;
  if (!program.Start(command)) return -1;
  DialogOwner owner(video_->window, program.Process());
  while (!program.Wait(kDialogStepMs)) {
    // Pings answered, an uncovered window redrawn, closes kept for the frame.
    PumpEvents();
    owner.Adopt();
    // A close of the window or a stop signal ends the dialog, and the game goes on to end.
    if (ending_) program.End();
  }
  if (output) *output = program.Output();
  return program.Status();
}

void SdlHost::ShowMessageBox(const std::string& text, const std::string& caption,
                             MessageBoxIcon icon) {
  // The terminal hears of every box, shown or not.
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  if (ending_) return;
  const InputWait wait(*input_);
  const DesktopDialogs desktop = DialogProgramFor(video_->window);
  if (desktop != DesktopDialogs::None) {
    const int status = RunDialogProgram(MessageCommand(desktop, MessageFor(icon), text, caption), nullptr);
    // 127: the program is there but could not be run.
    if (ending_ || (status >= 0 && status != 127)) return;
  }
  if (BoxInWindow(text, caption, icon)) return;
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == MessageBoxIcon::Stop) flags = SDL_MESSAGEBOX_ERROR;
  if (icon == MessageBoxIcon::Exclamation) flags = SDL_MESSAGEBOX_WARNING;
  DefaultStopSignals stoppable;
  SdlBoxGoesWithTheGame goes;
  // A box is as wide as its longest line.
  SDL_ShowSimpleMessageBox(flags, caption.c_str(), BreakIntoLines(text, kBoxColumns).c_str(),
                           BoxOwner(video_->window));
}

bool SdlHost::BoxInWindow(const std::string& text, const std::string& caption,
                          MessageBoxIcon icon) {
  if (!WindowSeen()) return false;
  if (!box_) box_ = BoxPanel::Create();
  const Surface* panel = box_ ? box_->Draw(text, caption, icon) : nullptr;
  if (!panel) return false;
  video_->ShowPanel(*panel);
  // The pointer is the player's while the box is up, to click its button with (the wait has
  // freed the mouse).
  const int cursor = SDL_ShowCursor(SDL_QUERY);
  SDL_ShowCursor(SDL_ENABLE);
  const PixelRect button = box_->Button();
  for (bool answered = false; !answered;) {
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, 100)) continue;
    // A held key repeats: Enter held when the box came must not also close it.
    const bool firstPress = e.type == SDL_KEYDOWN && !e.key.repeat;
    const SDL_Keycode key = firstPress ? e.key.keysym.sym : SDLK_UNKNOWN;
    int x = 0, y = 0;
    if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE) {
      answered = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
      answered = video_->PanelPoint(e.button.x, e.button.y, x, y) && x >= button.left &&
                 x < button.right && y >= button.top && y < button.bottom;
    } else {
      // A close is kept for the frame, which ends the game once the box is gone.
      Dispatch(e);
      answered = Closing(e);
    }
  }
  SDL_ShowCursor(cursor);
  video_->HidePanel();
  return true;
}

bool SdlHost::PromptInWindow(const FileDialogRequest& request, std::string& path) {
  if (!video_->window) return false;
  std::unique_ptr<FilePromptPage> page = FilePromptPage::Create();
  if (!page) return false;
  FilePromptState state;
  state.title = DialogTitle(request) + " - " + request.filterDescription;
  SDL_StartTextInput();
  bool answered = false, accepted = false;
  while (!answered) {
    SDL_Event e;
    // The page is drawn once the events waiting are all taken, not after each of them: a
    // name typed fast is shown as fast, never keys behind.
    if (!SDL_PollEvent(&e)) {
      video_->PresentOver(page->Draw(state));
      if (!SDL_WaitEventTimeout(&e, 100)) continue;
    }
    bool closing = Closing(e);
    // A held key repeats: Enter held after the name must not also answer the question.
    bool firstPress = e.type == SDL_KEYDOWN && !e.key.repeat;
    SDL_Keycode key = e.type == SDL_KEYDOWN ? e.key.keysym.sym : SDLK_UNKNOWN;
    bool enter = firstPress && (key == SDLK_RETURN || key == SDLK_KP_ENTER);
    bool escape = firstPress && key == SDLK_ESCAPE;
    if (closing) {
      // The frame honours the close once the prompt is gone.
      Dispatch(e);
      answered = true;
    } else if (e.type != SDL_TEXTINPUT && e.type != SDL_KEYDOWN) {
      Dispatch(e);
    } else if (!state.question.empty()) {
      // Y and N are taken as typed text, so that the N's own text never lands in the name
      // the user goes back to.
      std::string text = e.type == SDL_TEXTINPUT ? e.text.text : "";
      if (enter || text == "y" || text == "Y") answered = accepted = true;
      if (escape || text == "n" || text == "N") state.question.clear();
    } else if (e.type == SDL_TEXTINPUT) {
      state.typed += e.text.text;
    } else {
      if (key == SDLK_BACKSPACE && !state.typed.empty()) {
        // A whole character goes, however many bytes it takes.
        while (state.typed.size() > 1 && (state.typed.back() & 0xC0) == 0x80)
          state.typed.pop_back();
        state.typed.pop_back();
      }
      if (escape) answered = true;
      // A refused name stays typed, to be mended or replaced.
      if (enter && !state.typed.empty() &&
          ResolveDialogAnswer(request, state.typed, path, state.refusal))
        answered = accepted = !AskBeforeReplacing(request, path, "", state.question);
    }
  }
  SDL_StopTextInput();
  // Whatever follows the prompt, a box that says why a save failed included, stands
  // over the game's own picture.
  video_->ShowGameFrame();
  return accepted;
}

bool SdlHost::AskFileName(const FileDialogRequest& request, std::string& path) {
  if (ending_) return false;
  const InputWait wait(*input_);
  bool save = request.kind == FileDialogKind::Save;
  const DesktopDialogs desktop = DialogProgramFor(video_->window);
  if (desktop == DesktopDialogs::None) return PromptInWindow(request, path);
  const bool zenity = desktop == DesktopDialogs::Zenity;
  std::string directory = request.initialDirectory.empty() ? "." : request.initialDirectory;
  // Titled as the system's own: a chooser left untitled is called after its program.
  const std::string title = DialogTitle(request);
  // The chooser opens in the dialog's folder, or at the name it gave when that name was
  // refused or the user would not replace that file.
  auto chooser = [&](const std::string& start) -> std::vector<std::string> {
    if (zenity) {
      std::vector<std::string> command = {"zenity", "--file-selection", "--title=" + title};
      if (save) command.push_back("--save");
      command.push_back("--filename=" + start);
      command.push_back("--file-filter=" + request.filterDescription + " | " + request.filterPattern);
      return command;
    }
    return {"kdialog", "--title", title, save ? "--getsavefilename" : "--getopenfilename", start,
            request.filterPattern + "|" + request.filterDescription};
  };
  // zenity's own overwrite question would ask about the name as typed, before the default
  // extension is added, so it is left off and asked here instead, about the files that
  // will be written. kdialog always asks about the name it returns, which is then not
  // asked about again.
  std::string start = zenity ? directory + "/" : directory;
  for (;;) {
    std::string chosen, refusal, question;
    if (RunDialogProgram(chooser(start), &chosen) != 0) return false;
    while (!chosen.empty() && (chosen.back() == '\n' || chosen.back() == '\r')) chosen.pop_back();
    if (chosen.empty()) return false;
    if (!ResolveDialogAnswer(request, chosen, path, refusal)) {
      // The chooser says why and asks again at the name refused, as a dialog that must find
      // its file does.
      if (RunDialogProgram(MessageCommand(desktop, DialogMessage::Error, refusal, ""), nullptr) < 0)
        return false;
      start = chosen;
      continue;
    }
    if (!AskBeforeReplacing(request, path, zenity ? "" : chosen, question)) return true;
    if (RunDialogProgram(MessageCommand(desktop, DialogMessage::YesNo, question, ""), nullptr) == 0)
      return true;
    start = path;
  }
}

}  // namespace platform
