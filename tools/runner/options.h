// The runner's command line: the script's lines given as a file, as options of their own,
// or both, and the folder the game runs in.
#pragma once

#include <string>

#include "tools/runner/script.h"

namespace runner {

struct Options {
  Script script;          // finished, ready to run
  std::string directory;  // the folder the game runs in; empty: the current one
  bool help = false;      // --help: nothing to run
};

// Reads argv[1..argc-1]. False with a message for a bad option or a bad script line.
// Pictures named by a relative path are written relative to the folder the runner was
// started in, even when the game runs in another.
bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

// What --help prints.
const char* UsageText();

}  // namespace runner
