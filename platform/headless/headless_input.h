// Keyboard and mouse events scripted by the test, typically from HeadlessHost::AtFrame:
// they reach every acquired device at once and are read by the engine's next update.
#pragma once

#include <cstdint>

#include "platform/input_source.h"

namespace platform {

class HeadlessInput : public InputSource {
 public:
  void PressKey(uint8_t code) { DeliverKey(KeyEvent{code, true}); }
  void ReleaseKey(uint8_t code) { DeliverKey(KeyEvent{code, false}); }
  // A move of dx and dy: one event for each axis that moves.
  void MoveMouse(int32_t dx, int32_t dy);
  // One movement event on one axis, even a zero one.
  void MoveMouseX(int32_t dx) { DeliverMouse(MouseEvent{MouseObject::X, dx, false}); }
  void MoveMouseY(int32_t dy) { DeliverMouse(MouseEvent{MouseObject::Y, dy, false}); }
  void TurnWheel(int32_t amount) { DeliverMouse(MouseEvent{MouseObject::Wheel, amount, false}); }
  // Buttons 0 (left) to 3.
  void PressButton(int button) { DeliverMouse(MouseEvent{ButtonObject(button), 0, true}); }
  void ReleaseButton(int button) { DeliverMouse(MouseEvent{ButtonObject(button), 0, false}); }

  // The next read of every open keyboard (mouse) device answers result.
  void FailNextKeyboardRead(InputResult result);
  void FailNextMouseRead(InputResult result);

  // How often the mouse was switched between acquired and free.
  int mouseAcquisitionChanges = 0;

 protected:
  void MouseAcquisitionChanged(bool) override { ++mouseAcquisitionChanges; }

 private:
  static MouseObject ButtonObject(int button);
};

}  // namespace platform
