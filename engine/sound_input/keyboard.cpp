#include "engine/sound_input/keyboard.h"

#include "engine/core/engine_globals.h"
#include "engine/core/run_state.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/mouse.h"
#include "platform/host.h"
#include "platform/input_source.h"

namespace quor {

uint32_t KeyboardInstanceCount = 0;

void AdvanceKeyState(KeyState& state) {
  if (state.down) {
    state.framesUp = 0;
    ++state.framesDown;
    if (state.wasDown == 0) {
      state.pressed = 1;
      state.wasDown = 1;
    } else {
      state.pressed = 0;
    }
  } else {
    state.framesDown = 0;
    state.pressed = 0;
    ++state.framesUp;
    state.wasDown = 0;
  }
}

Keyboard::Keyboard() {
  ++KeyboardInstanceCount;
  if (KeyboardInstanceCount > 1 && platform::HasHost())
    platform::CurrentHost().ShowMessageBox("You can't create more than one keyboard instance",
                                           "Keyboard Error", platform::MessageBoxIcon::Stop);
  ClearKeys();
  // Without a host there is no device: the keyboard then reads as not acquired.
  if (platform::HasHost()) device = platform::CurrentHost().Input().CreateKeyboardDevice();
  Acquire();
  replayIndex = 0;
}

Keyboard::~Keyboard() {
  Unacquire();
  device.reset();
}

void Keyboard::ClearKeys() {
  for (KeyState& key : keys) key = KeyState{};
}

void Keyboard::Acquire() {
  if (device) device->Acquire();
}

void Keyboard::Unacquire() {
  if (device) device->Unacquire();
}

void Keyboard::Update() {
  eventCount = platform::kInputBufferSize;
  platform::InputResult result = platform::InputResult::NotAcquired;
  if (device) result = device->Read(events, &eventCount);
  else eventCount = 0;
  if (result == platform::InputResult::NotAcquired) {
    ClearKeys();
    return;
  }
  if (result == platform::InputResult::InputLost) {
    ClearKeys();
    Acquire();
    return;
  }
  // An overflow dropped older events only: the events read still carry every key's latest
  // change, so they are applied, or a key released during the overflow would stay down.
  ApplyEvents();

  GameDirector* director = CurrentGameDirector;
  if (director && director->replaying && CurrentGameNode) {
    if (!ReplayFrame()) return;
  } else if (director && director->recording && CurrentGameNode) {
    RecordFrame();
  }
  for (KeyState& key : keys) AdvanceKeyState(key);
}

void Keyboard::ApplyEvents() {
  // Several events of one key in one read: the last one wins.
  for (uint32_t i = 0; i < eventCount; ++i) keys[events[i].code].down = events[i].down ? 1 : 0;
}

void Keyboard::RecordFrame() {
  GameNode* scene = CurrentGameNode;
  scene->recordedKeyMasks.Add(0);
  uint32_t& mask = scene->recordedKeyMasks[scene->recordedKeyMasks.Size() - 1];
  const uint32_t registered = scene->registeredKeys.Size();
  // A mask has room for the first 32 registered keys only.
  for (uint32_t i = 0; i < registered && i < 32; ++i)
    if (keys[scene->registeredKeys[i] & 0xFF].down) mask |= 1u << i;
}

bool Keyboard::ReplayFrame() {
  GameNode* scene = CurrentGameNode;
  if (replayIndex >= scene->recordedKeyMasks.Size() || keys[platform::KeyF4].down) {
    EndReplay();
    return false;
  }
  for (KeyState& key : keys) key.down = 0;
  const uint32_t mask = scene->recordedKeyMasks[replayIndex];
  // A mask read from a file may set bits for keys this scene never registered.
  const uint32_t registered = scene->registeredKeys.Size();
  for (uint32_t i = 0; i < 32 && i < registered; ++i)
    if (mask & (1u << i)) keys[scene->registeredKeys[i] & 0xFF].down = 1;
  ++replayIndex;
  return true;
}

void Keyboard::EndReplay() {
  GameDirector* director = CurrentGameDirector;
  CurrentGameNode->SetFPS(director->replayRate);
  replayIndex = 0;
  director->replaying = 0;
  ClearKeys();
  if (platform::HasHost()) platform::CurrentHost().SetWindowTitle("Quor");
  if (CurrentMouse) {
    CurrentMouse->SetReplayIndex(0);
    CurrentMouse->ClearButtons();
  }
  director->RequestLoad(WhenReplayStatePath().c_str());
}

}  // namespace quor
