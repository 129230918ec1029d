#include "engine/sound_input/mouse.h"

#include <cmath>

#include "engine/core/engine_globals.h"
#include "engine/core/run_state.h"
#include "engine/scene/game_node.h"
#include "platform/host.h"
#include "platform/input_keys.h"
#include "platform/input_source.h"

namespace quor {

namespace {

// Truncation toward zero that a value from a damaged saved game cannot push outside 32
// bits: the nearest end instead of an undefined conversion, and 0 for no number.
int32_t SaturatingTruncation(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

Mouse::Mouse() {
  if (platform::HasHost()) {
    platform::InputSource& input = platform::CurrentHost().Input();
    SetRect(&clientRect, 0, 0, input.ClientWidth(), input.ClientHeight());
  }
  ClearButtons();
  if (platform::HasHost()) device = platform::CurrentHost().Input().CreateMouseDevice();
  Acquire();
}

Mouse::~Mouse() {
  Unacquire();
  device.reset();
}

uint8_t Mouse::IsButtonDown(uint32_t button) const {
  return button < kButtonCount ? buttons[button].down : 0;
}

uint8_t Mouse::IsButtonPressed(uint32_t button) const {
  return button < kButtonCount ? buttons[button].pressed : 0;
}

void Mouse::ClearButtons() {
  for (KeyState& button : buttons) button = KeyState{};
}

void Mouse::Acquire() {
  if (device) device->Acquire();
}

void Mouse::Unacquire() {
  if (device) device->Unacquire();
}

int Mouse::SetPosition(int32_t px, int32_t py) {
  if (px < clientRect.left || px >= clientRect.right || py < clientRect.top ||
      py >= clientRect.bottom)
    return 0;
  x = px;
  y = py;
  return 1;
}

int32_t Mouse::ClampX(int64_t value) const {
  if (value >= clientRect.right) return clientRect.right - 1;
  if (value < clientRect.left) return clientRect.left;
  return static_cast<int32_t>(value);
}

int32_t Mouse::ClampY(int64_t value) const {
  if (value >= clientRect.bottom) return clientRect.bottom - 1;
  if (value < clientRect.top) return clientRect.top;
  return static_cast<int32_t>(value);
}

// The movement times the sensitivity, in whole counts.
int32_t Mouse::Scaled(int32_t movement) const {
  return SaturatingTruncation(static_cast<float>(movement) * sensitivity);
}

void Mouse::Update() {
  eventCount = platform::kInputBufferSize;
  platform::InputResult result = platform::InputResult::NotAcquired;
  if (device) result = device->Read(events, &eventCount);
  else eventCount = 0;
  if (result == platform::InputResult::NotAcquired) {
    ClearButtons();
    return;
  }
  if (result == platform::InputResult::InputLost) {
    ClearButtons();
    Acquire();
    return;
  }
  GameDirector* director = CurrentGameDirector;
  if (director && director->replaying && CurrentGameNode) {
    if (!ReplayFrame()) return;
  } else {
    // An overflow dropped older events only; the rest are applied so no button sticks.
    ApplyEvents();
  }
  for (KeyState& button : buttons) AdvanceKeyState(button);
}

void Mouse::ApplyEvents() {
  uint8_t flags = 0;
  xMoved = yMoved = 0;
  for (uint32_t i = 0; i < eventCount; ++i) {
    const platform::MouseEvent& e = events[i];
    switch (e.object) {
      case platform::MouseObject::X:
        xMoved = 1;
        dx = Scaled(e.movement);
        x = ClampX(static_cast<int64_t>(x) + dx);
        flags |= MouseFlagXMoved;
        break;
      case platform::MouseObject::Y:
        yMoved = 1;
        dy = Scaled(e.movement);
        y = ClampY(static_cast<int64_t>(y) + dy);
        flags |= MouseFlagYMoved;
        break;
      case platform::MouseObject::Button0:
        buttons[0].down = e.down ? 1 : 0;
        if (e.down) flags |= MouseFlagButton0;
        break;
      case platform::MouseObject::Button1:
        buttons[1].down = e.down ? 1 : 0;
        if (e.down) flags |= MouseFlagButton1;
        break;
      default:
        break;
    }
  }
  GameDirector* director = CurrentGameDirector;
  if (director && director->recording && CurrentGameNode) {
    CurrentGameNode->recordedMouseFlags.Add(flags);
    MouseDelta delta;
    delta.dx = dx;
    delta.dy = dy;
    CurrentGameNode->recordedMouseMovement.Add(delta);
  }
}

bool Mouse::ReplayFrame() {
  GameNode* scene = CurrentGameNode;
  GameDirector* director = CurrentGameDirector;
  // The flags and the movements of a recording read from a file may differ in length;
  // the replay stops at the end of the shorter.
  uint32_t entries = scene->recordedMouseMovement.Size();
  if (scene->recordedMouseFlags.Size() < entries) entries = scene->recordedMouseFlags.Size();
  if (replayIndex >= entries ||
      (CurrentKeyboard && CurrentKeyboard->IsKeyPressed(platform::KeyF4))) {
    scene->SetFPS(director->replayRate);
    replayIndex = 0;
    ClearButtons();
    return false;
  }
  xMoved = yMoved = 0;
  const uint8_t flags = scene->recordedMouseFlags[replayIndex];
  const MouseDelta& delta = scene->recordedMouseMovement[replayIndex];
  dx = delta.dx;
  if (flags & MouseFlagXMoved) {
    xMoved = 1;
    x = ClampX(static_cast<int64_t>(x) + dx);
  }
  dy = delta.dy;
  if (flags & MouseFlagYMoved) {
    yMoved = 1;
    y = ClampY(static_cast<int64_t>(y) + dy);
  }
  buttons[0].down = (flags & MouseFlagButton0) ? 1 : 0;
  buttons[1].down = (flags & MouseFlagButton1) ? 1 : 0;
  ++replayIndex;
  return true;
}

namespace {

// A world coordinate in whole pixels; a view placed beyond 32 bits by a damaged saved game
// gives the nearest end.
int32_t WholeWorldPixel(float origin, int32_t offset) {
  return SaturatingTruncation(origin + static_cast<float>(offset));
}

}  // namespace

int32_t Mouse::GetWorldX() const {
  return WholeWorldPixel(CurrentGameNode ? CurrentGameNode->viewPort.GetLeft() : 0.0f, x);
}

int32_t Mouse::GetWorldY() const {
  return WholeWorldPixel(CurrentGameNode ? CurrentGameNode->viewPort.GetTop() : 0.0f, y);
}

}  // namespace quor
