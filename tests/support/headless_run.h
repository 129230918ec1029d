// Runs the whole program on a headless host, as the tests' player.
#pragma once

#include <cstdint>

#include "engine/core/engine_globals.h"
#include "engine/app/run_application.h"
#include "engine/sound_input/keyboard.h"
#include "platform/headless/headless_host.h"
#include "tests/support/engine_hooks.h"

namespace testing_support {

class HeadlessRun {
 public:
  // Each run is the process's first keyboard, as it is for the player. The engine runs
  // alone unless the test installs other hooks before Run.
  HeadlessRun() {
    platform::InstallHost(&host);
    quor::InstallGameHooks(EngineOnlyHooks());
    quor::KeyboardInstanceCount = 0;
  }
  ~HeadlessRun() {
    platform::InstallHost(nullptr);
    quor::InstallGameHooks(quor::GameHooks());
    quor::Paused = 0;
    quor::MinimisedWhilePaused = 0;
    quor::QuitRequested = 0;
    quor::KeyboardInstanceCount = 0;
  }
  // Runs until frame `frames` begins (or the program ends by itself).
  int Run(int frames) {
    host.QuitAtFrame(frames);
    return quor::RunApplication();
  }

  platform::HeadlessHost host;
};

// The key down at the start of frame `from` and up again at the start of frame `to`.
inline void HoldKey(platform::HeadlessHost& host, uint8_t key, int from, int to) {
  host.AtFrame(from, [key](platform::HeadlessHost& h) { h.input.PressKey(key); });
  host.AtFrame(to, [key](platform::HeadlessHost& h) { h.input.ReleaseKey(key); });
}

// The key down for the one frame `frame`.
inline void TapKey(platform::HeadlessHost& host, uint8_t key, int frame) {
  HoldKey(host, key, frame, frame + 1);
}

}  // namespace testing_support
