// Hooks that run the engine alone, standing where the game's functions stand: the game's
// display mode and one empty first scene "Start".
#pragma once

#include "engine/app/game_director.h"
#include "engine/app/game_hooks.h"
#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/scene/game_node.h"

namespace testing_support {

inline quor::GameHooks EngineOnlyHooks() {
  quor::GameHooks hooks;
  hooks.setDisplayMode = [] {
    quor::SetScreenMode(640, 480, 16);
    quor::Windowed = 0;
  };
  hooks.createScenes = [] {
    auto* start = new quor::GameNode;
    start->SetId(1);
    start->SetName("Start");
    quor::CurrentGameDirector->AddGameNode(start);
  };
  return hooks;
}

}  // namespace testing_support
