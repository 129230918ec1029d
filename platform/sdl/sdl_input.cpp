#include "platform/sdl/sdl_input.h"

#include "platform/input_keys.h"

namespace platform {

uint8_t KeyCodeForScancode(SDL_Scancode scancode) {
  switch (scancode) {
    case SDL_SCANCODE_ESCAPE: return KeyEscape;
    case SDL_SCANCODE_1: return Key1;
    case SDL_SCANCODE_2: return Key2;
    case SDL_SCANCODE_3: return Key3;
    case SDL_SCANCODE_4: return Key4;
    case SDL_SCANCODE_5: return Key5;
    case SDL_SCANCODE_6: return Key6;
    case SDL_SCANCODE_7: return Key7;
    case SDL_SCANCODE_8: return Key8;
    case SDL_SCANCODE_9: return Key9;
    case SDL_SCANCODE_0: return Key0;
    case SDL_SCANCODE_MINUS: return KeyMinus;
    case SDL_SCANCODE_EQUALS: return KeyEquals;
    case SDL_SCANCODE_BACKSPACE: return KeyBackspace;
    case SDL_SCANCODE_TAB: return KeyTab;
    case SDL_SCANCODE_Q: return KeyQ;
    case SDL_SCANCODE_W: return KeyW;
    case SDL_SCANCODE_E: return KeyE;
    case SDL_SCANCODE_R: return KeyR;
    case SDL_SCANCODE_T: return KeyT;
    case SDL_SCANCODE_Y: return KeyY;
    case SDL_SCANCODE_U: return KeyU;
    case SDL_SCANCODE_I: return KeyI;
    case SDL_SCANCODE_O: return KeyO;
    case SDL_SCANCODE_P: return KeyP;
    case SDL_SCANCODE_LEFTBRACKET: return KeyLeftBracket;
    case SDL_SCANCODE_RIGHTBRACKET: return KeyRightBracket;
    case SDL_SCANCODE_RETURN: return KeyReturn;
    case SDL_SCANCODE_LCTRL: return KeyLeftControl;
    case SDL_SCANCODE_A: return KeyA;
    case SDL_SCANCODE_S: return KeyS;
    case SDL_SCANCODE_D: return KeyD;
    case SDL_SCANCODE_F: return KeyF;
    case SDL_SCANCODE_G: return KeyG;
    case SDL_SCANCODE_H: return KeyH;
    case SDL_SCANCODE_J: return KeyJ;
    case SDL_SCANCODE_K: return KeyK;
    case SDL_SCANCODE_L: return KeyL;
    case SDL_SCANCODE_SEMICOLON: return KeySemicolon;
    case SDL_SCANCODE_APOSTROPHE: return KeyApostrophe;
    case SDL_SCANCODE_GRAVE: return KeyGrave;
    case SDL_SCANCODE_LSHIFT: return KeyLeftShift;
    case SDL_SCANCODE_BACKSLASH: return KeyBackslash;
    // The key left of Return on ISO keyboards sends the same code as Backslash.
    case SDL_SCANCODE_NONUSHASH: return KeyBackslash;
    case SDL_SCANCODE_Z: return KeyZ;
    case SDL_SCANCODE_X: return KeyX;
    case SDL_SCANCODE_C: return KeyC;
    case SDL_SCANCODE_V: return KeyV;
    case SDL_SCANCODE_B: return KeyB;
    case SDL_SCANCODE_N: return KeyN;
    case SDL_SCANCODE_M: return KeyM;
    case SDL_SCANCODE_COMMA: return KeyComma;
    case SDL_SCANCODE_PERIOD: return KeyPeriod;
    case SDL_SCANCODE_SLASH: return KeySlash;
    case SDL_SCANCODE_RSHIFT: return KeyRightShift;
    case SDL_SCANCODE_KP_MULTIPLY: return KeyKeypadMultiply;
    case SDL_SCANCODE_LALT: return KeyLeftAlt;
    case SDL_SCANCODE_SPACE: return KeySpace;
    case SDL_SCANCODE_CAPSLOCK: return KeyCapsLock;
    case SDL_SCANCODE_F1: return KeyF1;
    case SDL_SCANCODE_F2: return KeyF2;
    case SDL_SCANCODE_F3: return KeyF3;
    case SDL_SCANCODE_F4: return KeyF4;
    case SDL_SCANCODE_F5: return KeyF5;
    case SDL_SCANCODE_F6: return KeyF6;
    case SDL_SCANCODE_F7: return KeyF7;
    case SDL_SCANCODE_F8: return KeyF8;
    case SDL_SCANCODE_F9: return KeyF9;
    case SDL_SCANCODE_F10: return KeyF10;
    case SDL_SCANCODE_NUMLOCKCLEAR: return KeyNumLock;
    case SDL_SCANCODE_SCROLLLOCK: return KeyScrollLock;
    case SDL_SCANCODE_KP_7: return KeyKeypad7;
    case SDL_SCANCODE_KP_8: return KeyKeypad8;
    case SDL_SCANCODE_KP_9: return KeyKeypad9;
    case SDL_SCANCODE_KP_MINUS: return KeyKeypadMinus;
    case SDL_SCANCODE_KP_4: return KeyKeypad4;
    case SDL_SCANCODE_KP_5: return KeyKeypad5;
    case SDL_SCANCODE_KP_6: return KeyKeypad6;
    case SDL_SCANCODE_KP_PLUS: return KeyKeypadPlus;
    case SDL_SCANCODE_KP_1: return KeyKeypad1;
    case SDL_SCANCODE_KP_2: return KeyKeypad2;
    case SDL_SCANCODE_KP_3: return KeyKeypad3;
    case SDL_SCANCODE_KP_0: return KeyKeypad0;
    case SDL_SCANCODE_KP_PERIOD: return KeyKeypadPeriod;
    case SDL_SCANCODE_NONUSBACKSLASH: return KeyNonUsBackslash;
    case SDL_SCANCODE_F11: return KeyF11;
    case SDL_SCANCODE_F12: return KeyF12;
    case SDL_SCANCODE_F13: return KeyF13;
    case SDL_SCANCODE_F14: return KeyF14;
    case SDL_SCANCODE_F15: return KeyF15;
    case SDL_SCANCODE_KP_EQUALS: return KeyKeypadEquals;
    case SDL_SCANCODE_KP_ENTER: return KeyKeypadEnter;
    case SDL_SCANCODE_RCTRL: return KeyRightControl;
    case SDL_SCANCODE_KP_DIVIDE: return KeyKeypadDivide;
    case SDL_SCANCODE_PRINTSCREEN: return KeyPrintScreen;
    case SDL_SCANCODE_RALT: return KeyRightAlt;
    case SDL_SCANCODE_PAUSE: return KeyPause;
    case SDL_SCANCODE_HOME: return KeyHome;
    case SDL_SCANCODE_UP: return KeyUp;
    case SDL_SCANCODE_PAGEUP: return KeyPageUp;
    case SDL_SCANCODE_LEFT: return KeyLeft;
    case SDL_SCANCODE_RIGHT: return KeyRight;
    case SDL_SCANCODE_END: return KeyEnd;
    case SDL_SCANCODE_DOWN: return KeyDown;
    case SDL_SCANCODE_PAGEDOWN: return KeyPageDown;
    case SDL_SCANCODE_INSERT: return KeyInsert;
    case SDL_SCANCODE_DELETE: return KeyDelete;
    case SDL_SCANCODE_LGUI: return KeyLeftSuper;
    case SDL_SCANCODE_RGUI: return KeyRightSuper;
    case SDL_SCANCODE_APPLICATION: return KeyMenu;
    default: return KeyNone;
  }
}

namespace {

// The engine knows four buttons; SDL's second extra button has no place among them.
bool ButtonObjectFor(Uint8 button, MouseObject& object) {
  switch (button) {
    case SDL_BUTTON_LEFT: object = MouseObject::Button0; return true;
    case SDL_BUTTON_RIGHT: object = MouseObject::Button1; return true;
    case SDL_BUTTON_MIDDLE: object = MouseObject::Button2; return true;
    case SDL_BUTTON_X1: object = MouseObject::Button3; return true;
    default: return false;
  }
}

// One notch of the wheel, as the engine's devices count it.
constexpr int32_t kWheelNotch = 120;

}  // namespace

void SdlInput::OnEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      // Buffered devices report changes only, never the keyboard's auto-repeat.
      if (event.key.repeat) return;
      uint8_t code = KeyCodeForScancode(event.key.keysym.scancode);
      if (code == KeyNone) return;
      DeliverKey(KeyEvent{code, event.type == SDL_KEYDOWN});
      break;
    }
    case SDL_MOUSEMOTION:
      if (event.motion.xrel != 0) DeliverMouse(MouseEvent{MouseObject::X, event.motion.xrel, false});
      if (event.motion.yrel != 0) DeliverMouse(MouseEvent{MouseObject::Y, event.motion.yrel, false});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      MouseObject object;
      if (!ButtonObjectFor(event.button.button, object)) return;
      DeliverMouse(MouseEvent{object, 0, event.type == SDL_MOUSEBUTTONDOWN});
      break;
    }
    case SDL_MOUSEWHEEL: {
      int32_t notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches != 0) DeliverMouse(MouseEvent{MouseObject::Wheel, notches * kWheelNotch, false});
      break;
    }
    default:
      break;
  }
}

void SdlInput::MouseAcquisitionChanged(bool anyAcquired) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_SetRelativeMouseMode(anyAcquired ? SDL_TRUE : SDL_FALSE);
}

}  // namespace platform
