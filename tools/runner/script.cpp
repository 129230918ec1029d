#include "tools/runner/script.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "tools/runner/game_state.h"
#include "tools/runner/key_names.h"

namespace runner {

namespace {

// Frames and counts stay far below where adding an offset could overflow.
constexpr int64_t kLargestFrame = INT_MAX / 4;

// Splits a line into words; '#' outside quotes ends it. False on an unclosed quote.
bool SplitWords(const std::string& line, std::vector<std::string>& words) {
  size_t i = 0;
  while (i < line.size()) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (std::isspace(c)) {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string::npos) return false;
      words.push_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      size_t end = i;
      while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return true;
}

bool WholeNumber(const std::string& text, int64_t& value) {
  if (text.empty()) return false;
  size_t start = text[0] == '-' ? 1 : 0;
  if (start == text.size() || text.size() - start > 12) return false;
  for (size_t i = start; i < text.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  value = std::strtoll(text.c_str(), nullptr, 10);
  return true;
}

bool Count(const std::string& text, int64_t least, int64_t& value) {
  return WholeNumber(text, value) && value >= least && value <= kLargestFrame;
}

const char kKeyHelp[] = " (a name such as Space, Left, F5, A or 7, or a code such as 0x39)";

}  // namespace

bool ScriptParser::ParseLine(const std::string& line, const std::string& where,
                             std::string& error) {
  auto fail = [&](const std::string& message) {
    error = where + ": " + message;
    return false;
  };
  std::vector<std::string> words;
  if (!SplitWords(line, words)) return fail("a quote is not closed");
  if (words.empty()) return true;

  int64_t number = 0;
  if (words[0] == "frames") {
    if (words.size() != 2 || !Count(words[1], 1, number))
      return fail("\"frames\" needs one number of frames, 1 or more");
    script_.frames = static_cast<int>(number);
    return true;
  }

  bool repeated = words[0] == "every";
  int frame = 0;
  size_t next = 1;
  if (repeated) {
    if (words.size() < 3 || !Count(words[1], 1, number))
      return fail("\"every\" needs a number of frames, 1 or more, and report or shot");
    frame = static_cast<int>(number);
    next = 2;
  } else {
    bool relative = words[0][0] == '+';
    if (!Count(relative ? words[0].substr(1) : words[0], 0, number))
      return fail("a line starts with a frame number (or +N frames after the line before), "
                  "\"frames\" or \"every\", not " + Quoted(words[0]));
    number += relative ? lastFrame_ : 0;
    if (number > kLargestFrame) return fail("the frame is too far");
    frame = static_cast<int>(number);
    if (words.size() < 2) return fail("an action follows the frame number");
  }

  const std::string& action = words[next];
  std::vector<std::string> args(words.begin() + static_cast<long>(next) + 1, words.end());
  auto wantArgs = [&](size_t n, const char* what) {
    if (args.size() == n) return true;
    fail(Quoted(action) + (n == 0 ? " takes nothing after it" : std::string(" needs ") + what));
    return false;
  };

  Event event;
  event.frame = frame;
  event.where = where;
  std::vector<Event> made;

  if (repeated) {
    Repeat repeat;
    repeat.every = frame;
    repeat.where = where;
    if (action == "report") {
      if (!wantArgs(0, "")) return false;
    } else if (action == "shot") {
      if (!wantArgs(1, "a file name")) return false;
      if (args[0].find("{frame}") == std::string::npos)
        return fail("a repeated shot needs {frame} in its file name, or each would overwrite the last");
      repeat.action = Action::Shot;
      repeat.text = args[0];
    } else {
      return fail("\"every\" repeats report or shot, not " + Quoted(action));
    }
    script_.repeats.push_back(repeat);
    return true;
  }

  if (action == "press" || action == "release" || action == "tap" || action == "hold") {
    bool hold = action == "hold";
    if (!wantArgs(hold ? 2 : 1, hold ? "a key and a number of frames" : "a key")) return false;
    if (!KeyCodeFromName(args[0], event.key)) return fail("unknown key " + Quoted(args[0]) + kKeyHelp);
    int64_t held = 1;
    if (hold && !Count(args[1], 1, held)) return fail("\"hold\" needs a number of frames, 1 or more");
    event.action = action == "release" ? Action::Release : Action::Press;
    made.push_back(event);
    if (action == "tap" || hold) {
      if (frame + held > kLargestFrame) return fail("the frame is too far");
      event.action = Action::Release;
      event.frame = frame + static_cast<int>(held);
      made.push_back(event);
    }
  } else if (action == "shot") {
    if (!wantArgs(1, "a file name")) return false;
    event.action = Action::Shot;
    event.text = args[0];
    made.push_back(event);
  } else if (action == "report") {
    if (!wantArgs(0, "")) return false;
    event.action = Action::Report;
    made.push_back(event);
  } else if (action == "answer") {
    if (!wantArgs(1, "a file name")) return false;
    if (args[0].empty()) return fail("\"answer\" needs a file name; \"cancel\" cancels");
    event.action = Action::Answer;
    event.text = args[0];
    made.push_back(event);
  } else if (action == "cancel") {
    if (!wantArgs(0, "")) return false;
    event.action = Action::Cancel;
    made.push_back(event);
  } else if (action == "expect") {
    if (args.size() != 2)
      return fail("\"expect\" needs what and its value: scene NAME, messages N, or a game variable and a number");
    if (args[0] == "scene") {
      event.action = Action::ExpectScene;
      event.text = args[1];
    } else if (args[0] == "messages") {
      if (!Count(args[1], 0, event.value)) return fail("\"expect messages\" needs a count, 0 or more");
      event.action = Action::ExpectMessages;
    } else if (FindGameVariable(args[0])) {
      if (!WholeNumber(args[1], event.value) || event.value < INT32_MIN || event.value > INT32_MAX)
        return fail(Quoted(args[0]) + " is compared with a whole number, not " + Quoted(args[1]));
      event.action = Action::ExpectVariable;
      event.text = args[0];
    } else {
      std::string names;
      for (const GameVariable& variable : kGameVariables) names += std::string(" ") + variable.name;
      return fail("cannot expect " + Quoted(args[0]) + "; known are scene, messages and" + names);
    }
    made.push_back(event);
  } else {
    return fail("unknown action " + Quoted(action) +
                " (press, release, tap, hold, shot, report, answer, cancel, expect)");
  }

  lastFrame_ = frame;
  script_.events.insert(script_.events.end(), made.begin(), made.end());
  return true;
}

bool ScriptParser::ParseText(std::istream& in, const std::string& source, std::string& error) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!ParseLine(line, source + ":" + std::to_string(number), error)) return false;
  }
  return true;
}

namespace {

// The first frame that must begin for the event to be done: a key or an answer needs its
// own frame to run, a picture is taken once its frame has been shown.
int64_t FramesNeeded(const Event& event) {
  switch (event.action) {
    case Action::Report:
    case Action::ExpectScene:
    case Action::ExpectVariable:
    case Action::ExpectMessages:
      return event.frame;
    default:
      return int64_t(event.frame) + 1;
  }
}

}  // namespace

bool FinishScript(Script& script, std::string& error) {
  const Event* last = nullptr;
  for (const Event& event : script.events)
    if (!last || FramesNeeded(event) > FramesNeeded(*last)) last = &event;
  if (script.frames < 0) {
    script.frames = kDefaultFrames;
    if (last && FramesNeeded(*last) > script.frames) script.frames = static_cast<int>(FramesNeeded(*last));
    return true;
  }
  for (const Event& event : script.events) {
    if (FramesNeeded(event) > script.frames) {
      error = event.where + ": frame " + std::to_string(event.frame) + " is past the end of the run (frames " +
              std::to_string(script.frames) + ")";
      return false;
    }
  }
  return true;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string ShotName(const std::string& pattern, int frame) {
  std::string name = pattern;
  const std::string mark = "{frame}";
  for (size_t at = name.find(mark); at != std::string::npos; at = name.find(mark, at))
    name.replace(at, mark.size(), std::to_string(frame));
  return name;
}

}  // namespace runner
