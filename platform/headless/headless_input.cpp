#include "platform/headless/headless_input.h"

namespace platform {

void HeadlessInput::MoveMouse(int32_t dx, int32_t dy) {
  if (dx != 0) MoveMouseX(dx);
  if (dy != 0) MoveMouseY(dy);
}

MouseObject HeadlessInput::ButtonObject(int button) {
  switch (button) {
    case 0: return MouseObject::Button0;
    case 1: return MouseObject::Button1;
    case 2: return MouseObject::Button2;
    default: return MouseObject::Button3;
  }
}

void HeadlessInput::FailNextKeyboardRead(InputResult result) {
  FailNextRead(InputDeviceBase::Kind::Keyboard, result);
}

void HeadlessInput::FailNextMouseRead(InputResult result) {
  FailNextRead(InputDeviceBase::Kind::Mouse, result);
}

}  // namespace platform
