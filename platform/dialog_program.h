// The desktop's own dialogs (a chooser, a question, a box) run as programs of their own,
// and what each of the desktop's dialog programs is told to show.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/host.h"

namespace platform {

// The full path of the program that PATH finds under the name; empty when there is none.
std::string FindOnPath(const std::string& program);

// A dialog program started by the game. It holds nothing the game has open (files, locks,
// the display's connection), so nothing of the game outlives the game in it; it ends when
// the game ends, even when the game is killed; and it can be ended at once with whatever
// it started.
class DialogProgram {
 public:
  DialogProgram() = default;
  // Ends the program when it still runs.
  ~DialogProgram();
  DialogProgram(const DialogProgram&) = delete;
  DialogProgram& operator=(const DialogProgram&) = delete;

  // Starts argv[0], found on PATH, with the arguments argv: its standard output is kept for
  // Output, its input is empty and what it says on its error output is dropped. False when
  // it cannot be started.
  bool Start(const std::vector<std::string>& argv);
  // Waits at most ms milliseconds for the program to end; true once it has ended.
  bool Wait(int ms);
  // Ends the program and whatever it started, and waits until it has ended.
  void End();

  // The process the program runs in (0 before it starts); what it started runs in the
  // process group of that number.
  pid_t Process() const { return pid_; }
  // What the program has printed so far.
  const std::string& Output() const { return output_; }
  // The program's exit status once it has ended by itself; -1 when it was ended, was
  // killed, or never ran.
  int Status() const;

 private:
  // Reads what the program printed, waiting at most ms milliseconds for it.
  void Read(int ms);

  pid_t pid_ = 0;
  int outputFd_ = -1;
  bool ended_ = false;
  int waitStatus_ = -1;
  std::string output_;
};

// The desktop's dialog programs, as the game uses them: zenity before kdialog.
enum class DesktopDialogs { None, Zenity, Kdialog };
// The dialog program that PATH finds now.
DesktopDialogs FindDesktopDialogs();

// What a dialog program is asked to show: a box with an OK button and one of these icons,
// or a question answered yes (exit status 0) or no.
enum class DialogMessage { Information, Warning, Error, QuestionMark, YesNo };
// The command line that shows text under the caption (none given when it is empty).
// zenity makes its box as wide as the text's longest line and breaks lines only at spaces,
// so a long name would push its buttons off the screen: its text comes in lines as the
// game's own boxes break it. kdialog shortens a long name itself, and is given the text
// as it is.
std::vector<std::string> MessageCommand(DesktopDialogs program, DialogMessage kind,
                                        const std::string& text, const std::string& caption);
// The kind of message a box of the game's shows, by its icon.
DialogMessage MessageFor(MessageBoxIcon icon);

}  // namespace platform
