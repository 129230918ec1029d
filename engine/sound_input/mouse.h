// The mouse as the engine sees it: a position inside the main window's client area moved
// by the buffered device's relative events, the frame's movement and two buttons; recorded
// into and replayed from the current scene.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/rect.h"
#include "engine/sound_input/keyboard.h"
#include "platform/input_device.h"

namespace quor {

// Bits of a recorded mouse-flags byte.
enum MouseFlag : uint8_t {
  MouseFlagButton0 = 1,
  MouseFlagButton1 = 2,
  MouseFlagXMoved = 4,
  MouseFlagYMoved = 8,
};

class Mouse {
 public:
  static constexpr int kButtonCount = 2;

  // Opens and acquires the host's mouse; the client area is read once, here.
  Mouse();
  ~Mouse();
  Mouse(const Mouse&) = delete;
  Mouse& operator=(const Mouse&) = delete;

  // One frame of mouse input: the device's events (or the replay's entry), then the buttons.
  void Update();
  // Button 0 (left) or 1 (right); any other button reads up.
  uint8_t IsButtonDown(uint32_t button) const;
  uint8_t IsButtonPressed(uint32_t button) const;
  void ClearButtons();
  // The position in the world: the current scene's view origin plus the position.
  int32_t GetWorldX() const;
  int32_t GetWorldY() const;
  // Moves the pointer to (x, y) when that lies in the client area (right and bottom edges
  // outside); nonzero if it moved.
  int SetPosition(int32_t x, int32_t y);
  void Acquire();
  void Unacquire();

  // The state a saved game carries.
  float GetSensitivity() const { return sensitivity; }
  void SetSensitivity(float value) { sensitivity = value; }
  int32_t GetX() const { return x; }
  int32_t GetY() const { return y; }
  void SetX(int32_t value) { x = value; }
  void SetY(int32_t value) { y = value; }
  int32_t GetDX() const { return dx; }
  int32_t GetDY() const { return dy; }
  void SetDX(int32_t value) { dx = value; }
  void SetDY(int32_t value) { dy = value; }
  const Rect& GetClientRect() const { return clientRect; }
  void SetClientRect(const Rect& value) { clientRect = value; }
  uint8_t GetXMoved() const { return xMoved; }
  uint8_t GetYMoved() const { return yMoved; }
  void SetXMoved(uint8_t value) { xMoved = value; }
  void SetYMoved(uint8_t value) { yMoved = value; }

  const KeyState& GetButtonState(uint32_t button) const { return buttons[button & 1]; }
  uint32_t GetReplayIndex() const { return replayIndex; }
  void SetReplayIndex(uint32_t index) { replayIndex = index; }

 private:
  void ApplyEvents();
  // False when the replay ran out (or F4) in this frame.
  bool ReplayFrame();
  int32_t ClampX(int64_t value) const;
  int32_t ClampY(int64_t value) const;
  int32_t Scaled(int32_t movement) const;

  float sensitivity = 1.0f;
  int32_t x = 0, y = 0;
  int32_t dx = 0, dy = 0;
  Rect clientRect;
  KeyState buttons[kButtonCount];
  uint32_t eventCount = 0;
  platform::MouseEvent events[platform::kInputBufferSize];
  std::unique_ptr<platform::MouseDevice> device;
  uint8_t xMoved = 0, yMoved = 0;
  uint32_t replayIndex = 0;
};

}  // namespace quor
