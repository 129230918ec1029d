// The keyboard as the engine sees it: one state record per key code, read from the
// buffered device once a frame, recorded into and replayed from the current scene.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/input_device.h"
#include "platform/input_keys.h"

namespace quor {

// The state of one key or mouse button.
struct KeyState {
  uint8_t wasDown = 0;  // down at the previous update
  uint8_t down = 0;     // down now
  uint8_t pressed = 0;  // went down in this frame
  uint32_t framesUp = 0;
  uint32_t framesDown = 0;
};

// One frame's table step for a record whose down byte is already set.
void AdvanceKeyState(KeyState& state);

// How many keyboards were ever constructed; a second one is reported.
extern uint32_t KeyboardInstanceCount;

class Keyboard {
 public:
  static constexpr int kKeyCount = platform::kKeyCodeCount;

  // Opens and acquires the host's keyboard; a second keyboard shows "Keyboard Error".
  Keyboard();
  ~Keyboard();
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // One frame of keyboard input: the device's events (or the replay's mask), then the table.
  void Update();
  // Only the low 8 bits of code count.
  uint8_t IsKeyDown(uint32_t code) const { return keys[code & 0xFF].down; }
  uint8_t IsKeyPressed(uint32_t code) const { return keys[code & 0xFF].pressed; }
  const KeyState& GetKeyState(uint32_t code) const { return keys[code & 0xFF]; }
  // Every key up, every counter 0.
  void ClearKeys();
  void Acquire();
  void Unacquire();

  uint32_t GetReplayIndex() const { return replayIndex; }
  void SetReplayIndex(uint32_t index) { replayIndex = index; }

 private:
  void ApplyEvents();
  void RecordFrame();
  // False when the replay ended in this frame.
  bool ReplayFrame();
  void EndReplay();

  KeyState keys[kKeyCount];
  uint32_t eventCount = 0;
  platform::KeyEvent events[platform::kInputBufferSize];
  std::unique_ptr<platform::KeyboardDevice> device;
  uint32_t replayIndex = 0;
};

}  // namespace quor
