// Runs the whole program on a headless host, as the tests' player.
#pragma once

#include "engine/app/engine_globals.h"
#include "engine/app/run_application.h"
#include "platform/headless/headless_host.h"

namespace testing_support {

class HeadlessRun {
 public:
  HeadlessRun() { platform::InstallHost(&host); }
  ~HeadlessRun() {
    platform::InstallHost(nullptr);
    quor::Paused = 0;
    quor::MinimisedWhilePaused = 0;
    quor::QuitRequested = 0;
  }
  // Runs until frame `frames` begins (or the program ends by itself).
  int Run(int frames) {
    host.QuitAtFrame(frames);
    return quor::RunApplication();
  }

  platform::HeadlessHost host;
};

}  // namespace testing_support
