// The file dialogs of the player's host: the desktop's chooser (zenity or kdialog) run as
// a program of its own while the game's window is serviced, and a prompt typed into the
// game window where the desktop has no chooser.
#include <SDL.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/file_dialog.h"
#include "platform/file_prompt.h"
#include "platform/program_folder.h"
#include "platform/sdl/dialog_owner.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/sdl_video.h"

namespace platform {

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
  DialogOwner owner(video_->window, child);
  int status = 0;
  for (;;) {
    pollfd waitFor{fd, POLLIN, 0};
    if (poll(fd >= 0 ? &waitFor : nullptr, fd >= 0 ? 1 : 0, kDialogStepMs) > 0) readSome();
    // Pings answered, an uncovered window redrawn, closes kept for the frame.
    PumpEvents(false);
    owner.Adopt();
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
  std::unique_ptr<FilePromptPage> page = FilePromptPage::Create();
  if (!page) return false;
  bool save = request.kind == FileDialogKind::Save;
  FilePromptState state;
  state.title = std::string(save ? "Save as" : "Open") + " - " + request.filterDescription;
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
  // zenity's own overwrite question would ask about the name as typed, before the default
  // extension is added, so it is left off and asked here instead, about the files that
  // will be written. kdialog always asks about the name it returns, which is then not
  // asked about again.
  std::string complaint = zenity ? "zenity --error --no-markup --text=" : "kdialog --error ";
  std::string replace = zenity ? "zenity --question --no-markup --text=" : "kdialog --warningyesno ";
  // zenity makes its box as wide as the text's longest line and breaks lines only at
  // spaces, so a long name would push its buttons off the screen: its texts come in lines
  // as the game's own boxes do, the breaks kept as they are inside the quotes. kdialog
  // shortens a long name itself to fit the screen, and is given the text as it is.
  auto text = [&](const std::string& said) {
    return ShellQuote(zenity ? BreakIntoLines(said, kBoxColumns) : said);
  };
  std::string start = zenity ? directory + "/" : directory;
  for (;;) {
    std::string chosen, refusal, question;
    if (RunDialogProgram(chooser(start) + " 2>/dev/null", &chosen) != 0) return false;
    while (!chosen.empty() && (chosen.back() == '\n' || chosen.back() == '\r')) chosen.pop_back();
    if (chosen.empty()) return false;
    if (!ResolveDialogAnswer(request, chosen, path, refusal)) {
      // The chooser says why and asks again, as a dialog that must find its file does.
      if (RunDialogProgram(complaint + text(refusal) + " >/dev/null 2>&1", nullptr) < 0)
        return false;
      continue;
    }
    if (!AskBeforeReplacing(request, path, zenity ? "" : chosen, question)) return true;
    if (RunDialogProgram(replace + text(question) + " >/dev/null 2>&1", nullptr) == 0) return true;
    start = path;
  }
}

}  // namespace platform
