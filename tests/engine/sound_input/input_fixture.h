// A headless host, a scene and a director made current for a keyboard or mouse test;
// everything process-wide is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/headless/headless_host.h"
#include "tests/support/temp_dir.h"

namespace quor {

class InputTest : public ::testing::Test {
 protected:
  InputTest() {
    platform::InstallHost(&host);
    KeyboardInstanceCount = 0;
    savedScene_ = CurrentGameNode;
    savedDirector_ = CurrentGameDirector;
    CurrentGameNode = &scene;
    CurrentGameDirector = &director;
    director.replayRate = 60;
  }
  ~InputTest() override {
    CurrentKeyboard = nullptr;
    CurrentMouse = nullptr;
    CurrentGameNode = savedScene_;
    CurrentGameDirector = savedDirector_;
    KeyboardInstanceCount = 0;
    platform::InstallHost(nullptr);
  }

  testing_support::TempDir dir;
  platform::HeadlessHost host;
  GameNode scene;
  GameDirector director;

 private:
  GameNode* savedScene_;
  GameDirector* savedDirector_;
};

}  // namespace quor
