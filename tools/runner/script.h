// A script of the headless runner: timed key presses, file-dialog answers, pictures,
// state reports and expectations, one per line.
//
//   # a comment; blank lines are skipped
//   frames 1200              the run ends as frame 1200 begins (default: 600, or past the
//                            last line that needs more)
//   30 press Right           key down at the start of frame 30 (a name or a code: 0xCD)
//   +60 release Right        frames may count from the line before: here frame 90
//   100 tap Space            down at 100, up at 101
//   100 hold Left 45         down at 100, up at 145
//   120 shot title.png       the picture of frame 120 as PNG ("{frame}" is the number)
//   120 report               a state line as frame 120 begins
//   200 answer quick.sav     the next file dialog is answered with this name
//   200 cancel               the next file dialog is cancelled
//   300 expect scene Title   the scene that runs frame 300
//   300 expect HeartCount 2  a game variable as frame 300 begins
//   300 expect messages 0    message boxes shown so far
//   every 600 report         a state line at frames 0, 600, 1200...
//   every 60 shot f{frame}.png
//
// Words are separated by blanks; a word in double quotes may hold blanks.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace runner {

enum class Action {
  Press,           // key
  Release,         // key
  Shot,            // text: the PNG file name
  Report,
  Answer,          // text: the name given to the next file dialog
  Cancel,
  ExpectScene,     // text: the scene's name
  ExpectVariable,  // text: the variable's name; value
  ExpectMessages,  // value: the number of message boxes shown so far
};

struct Event {
  int frame = 0;
  Action action = Action::Report;
  uint8_t key = 0;
  std::string text;
  int64_t value = 0;
  std::string where;  // "script.txt:12" or the command-line option, for messages
};

// A report or a picture taken every `every` frames from frame 0 on.
struct Repeat {
  int every = 1;
  Action action = Action::Report;
  std::string text;
  std::string where;
};

struct Script {
  int frames = -1;  // the run ends as this frame begins; -1 until set
  std::vector<Event> events;
  std::vector<Repeat> repeats;
};

constexpr int kDefaultFrames = 600;

// Reads lines into a script. A line that cannot be read leaves the script as it was and
// gives a message that starts with the line's place ("where: ...").
class ScriptParser {
 public:
  explicit ScriptParser(Script& script) : script_(script) {}

  bool ParseLine(const std::string& line, const std::string& where, std::string& error);
  // Every line of in, named "source:N"; stops at the first bad line.
  bool ParseText(std::istream& in, const std::string& source, std::string& error);

 private:
  Script& script_;
  int lastFrame_ = 0;  // the frame of the last timed line, for "+N"
};

// Settles the run's length: unset, it is the default or just long enough for the last
// line; set, a line that would fall past the end is an error naming it.
bool FinishScript(Script& script, std::string& error);

// Text in double quotes, as the runner's messages show names.
std::string Quoted(const std::string& text);

// The name of a shot with "{frame}" replaced by the frame number.
std::string ShotName(const std::string& pattern, int frame);

}  // namespace runner
