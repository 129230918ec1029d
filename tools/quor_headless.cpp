// Plays the real game without a display, from a script of timed key presses: writes chosen
// frames as PNG pictures, tells every scene switch with the game's variables and sprite
// counts, and ends with a status that says whether the script's expectations held.
// `quor_headless --help` and the README tell how. The clock is virtual, so a run takes as
// long as the work and gives the same frames every time.
#include <cstdio>
#include <iostream>
#include <string>

#include "engine/app/game_hooks.h"
#include "engine/app/run_application.h"
#include "game/rules/failed_start.h"
#include "game/rules/game_functions.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/program_folder.h"
#include "tools/runner/options.h"
#include "tools/runner/script_run.h"

int main(int argc, char** argv) {
  runner::Options options;
  std::string error;
  if (!runner::ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "quor_headless: %s\n(quor_headless --help lists the options)\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(runner::UsageText(), stdout);
    return 0;
  }
  if (!options.directory.empty() && !platform::SetCurrentDirectory(options.directory)) {
    std::fprintf(stderr, "quor_headless: cannot run the game in %s\n", options.directory.c_str());
    return 2;
  }

  platform::HeadlessHost host;
  // Two games never share one folder's state files, the runner's included.
  host.holdGameFolder = true;
  runner::ScriptRun run(options.script, std::cout);
  run.Install(host);
  platform::InstallHost(&host);
  quor::InstallGameHooks(game::TheGameHooks());
  int result = quor::RunApplication();
  platform::InstallHost(nullptr);
  int status = run.Finish();
  if (result == quor::kFirstSceneFailed)
    std::fprintf(stderr, "%s  Or name the game's folder with --dir.\n",
                 game::FailedStartAdvice("quor_headless", platform::CurrentDirectory(),
                                         platform::ProgramFolder() + "/game").c_str());
  return result == 0 ? status : 3;
}
