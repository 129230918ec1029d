#include "tools/runner/options.h"

#include <fstream>

#include "platform/files.h"

namespace runner {

const char* UsageText() {
  return "usage: quor_headless [--script FILE] [--do \"LINE\"] [--frames N] [--dir DIR]\n"
         "                     [--press F:KEY] [--release F:KEY] [--tap F:KEY] [--shot F:FILE.png]\n"
         "\n"
         "Plays the game without a display on a virtual clock, from a script of timed keys.\n"
         "  --script FILE    read script lines from FILE (see the README)\n"
         "  --do \"LINE\"      one script line, e.g. --do \"300 expect scene Title\"\n"
         "  --frames N       end the run as frame N begins (default 600, or the script's)\n"
         "  --dir DIR        run the game in DIR (where its BITMAPS and Sounds are)\n"
         "  --press F:KEY, --release F:KEY, --tap F:KEY   a key at frame F\n"
         "  --shot F:FILE    write the picture of frame F as PNG\n"
         "KEY is a name (Space, Escape, Return, Left, F5, A, 7, LeftShift...) or a code (0x39).\n"
         "Exit status: 0 when every expectation held, 1 when one failed, 2 for a bad command\n"
         "line or script, 3 when the game could not start (its files not found there).\n";
}

namespace {

bool Absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
  Script& script = options.script;
  ScriptParser parser(script);
  int frames = -1;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "-h" || option == "--help") {
      options.help = true;
      return true;
    }
    if (i + 1 >= argc) {
      error = option + ": unknown option or missing value";
      return false;
    }
    std::string value = argv[++i];
    std::string where = option + " " + value;
    if (option == "--script") {
      std::ifstream in(value);
      if (!in) {
        error = value + ": cannot read the script";
        return false;
      }
      if (!parser.ParseText(in, value, error)) return false;
    } else if (option == "--do") {
      if (!parser.ParseLine(value, where, error)) return false;
    } else if (option == "--frames") {
      // Read as a script line, so the command line and a script agree on what is valid.
      Script alone;
      if (!ScriptParser(alone).ParseLine("frames " + value, where, error)) return false;
      frames = alone.frames;
    } else if (option == "--dir") {
      options.directory = value;
    } else if (option == "--press" || option == "--release" || option == "--tap" || option == "--shot") {
      size_t colon = value.find(':');
      if (colon == std::string::npos) {
        error = where + ": FRAME:VALUE expected";
        return false;
      }
      std::string line = value.substr(0, colon) + " " + option.substr(2) + " \"" + value.substr(colon + 1) + "\"";
      if (!parser.ParseLine(line, where, error)) return false;
    } else {
      error = option + ": unknown option";
      return false;
    }
  }
  if (frames > 0) script.frames = frames;
  if (!FinishScript(script, error)) return false;

  if (options.directory.empty()) return true;
  std::string here = platform::CurrentDirectory();
  auto anchor = [&](std::string& name) {
    if (!Absolute(name)) name = here + "/" + name;
  };
  for (Event& event : script.events)
    if (event.action == Action::Shot) anchor(event.text);
  for (Repeat& repeat : script.repeats)
    if (repeat.action == Action::Shot) anchor(repeat.text);
  return true;
}

}  // namespace runner
