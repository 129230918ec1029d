// A game director and its scenes on the headless host, without the main loop: the scenes
// "Start", "Title" and "Level1" (ids 1 to 3), as many as the test asks for, with "Start"
// current. The director, its scenes and what they left in the engine's globals go after
// each test.
#pragma once

#include <gtest/gtest.h>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/core/node_list.h"
#include "engine/scene/game_node.h"
#include "platform/headless/headless_host.h"
#include "tests/support/temp_dir.h"

namespace quor {

class DirectorTest : public ::testing::Test {
 protected:
  // The director and its first `count` scenes, each left through `onLeave`.
  void MakeScenes(int count, GameNodeHook onLeave = nullptr) {
    platform::InstallHost(&host);
    director = new GameDirector;
    CurrentGameDirector = director;
    const char* const names[] = {"Start", "Title", "Level1"};
    for (int id = 1; id <= count; ++id) {
      auto* scene = new GameNode;
      scene->SetId(id);
      scene->SetName(names[id - 1]);
      scene->onLeave = onLeave;
      director->AddGameNode(scene);
    }
    CurrentGameNode = FindGameNodeById(1);
  }

  void TearDown() override {
    GameNodeList().DeleteAll();
    CurrentGameNode = nullptr;
    CurrentGameDirector = nullptr;
    MainCharacter = nullptr;
    delete director;
    platform::InstallHost(nullptr);
  }

  testing_support::TempDir dir;
  platform::HeadlessHost host;
  GameDirector* director = nullptr;
};

}  // namespace quor
