#include "engine/app/game_director.h"

#include <cstring>

#include "engine/core/engine_globals.h"
#include "engine/app/frame_passes.h"
#include "engine/core/node_list.h"
#include "engine/display/display.h"
#include "engine/scene/game_node.h"
#include "engine/scene/scene_passes.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound_device.h"
#include "platform/host.h"

namespace quor {

uint8_t CurrentGameNodeId = 0;

NodeList& GameNodeList() {
  static NodeList list;
  return list;
}

GameNode* FindGameNodeById(int32_t id) {
  NodeList& list = GameNodeList();
  for (Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    GameNode* scene = static_cast<GameNode*>(n);
    if (scene->GetId() == id) return scene;
  }
  return nullptr;
}

GameNode* FindGameNodeByName(const char* name) {
  if (!name || !*name) return nullptr;
  NodeList& list = GameNodeList();
  for (Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    GameNode* scene = static_cast<GameNode*>(n);
    if (std::strncmp(scene->GetName(), name, sizeof scene->name) == 0) return scene;
  }
  return nullptr;
}

void GameDirector::AddGameNode(GameNode* scene) {
  if (FindGameNodeById(scene->GetId())) return;
  GameNodeList().AddHead(scene);
}

void GameDirector::GoToGameNode(const char* name) {
  GameNode* scene = FindGameNodeByName(name);
  if (scene) RequestGameNode(scene->GetId());
}

void GameDirector::RequestGameNode(int32_t id) {
  switchPending = 1;
  nextSceneId = static_cast<int8_t>(id);
  GameNode* current = CurrentGameNode;
  if (current && current->onLeave && current->onLeaveDone == 0) {
    current->onLeave(current);
    current->onLeaveDone = 1;
  }
}

void HandleSystemKeys() {
  Keyboard* keys = CurrentKeyboard;
  if (!keys) return;
  GameDirector* director = CurrentGameDirector;
  if (keys->IsKeyPressed(88)) {  // F12
    ToggleFullScreen();
    platform::CurrentHost().Sleep(1000);
    ReplayWantedMidiFiles();
  } else if (keys->IsKeyPressed(68)) {  // F10
    if (!Paused) {
      Paused = 1;
      if (CurrentMouse) CurrentMouse->Unacquire();
      GetSoundDevice()->PauseOrResumeAllSounds(false);
    } else {
      Paused = 0;
      if (CurrentMouse) CurrentMouse->Acquire();
      GetSoundDevice()->PauseOrResumeAllSounds(true);
    }
  } else if (keys->IsKeyPressed(1)) {  // Escape
    if (CurrentGameNode && CurrentGameNode->GetEscapeQuits() && director) director->RequestQuit();
  } else if (!director) {
    return;
  } else if (keys->IsKeyPressed(63)) {  // F5
    director->RequestSaveDialog();
  } else if (keys->IsKeyPressed(64)) {  // F6
    director->RequestLoadDialog();
  } else if (keys->IsKeyPressed(65)) {  // F7
    director->SaveReplayDialog();
  } else if (keys->IsKeyPressed(66)) {  // F8
    director->LoadReplayDialog();
  } else if (keys->IsKeyPressed(59)) {  // F1
    director->StartRecording();
  } else if (keys->IsKeyPressed(60)) {  // F2
    director->StopRecording();
  } else if (keys->IsKeyPressed(61)) {  // F3
    director->StartReplay(false);
  }
}

}  // namespace quor
