#include "tools/runner/key_names.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "platform/input_keys.h"

namespace runner {

namespace {

struct KeyRow {
  const char* name;
  uint8_t code;
};

// The first row of a code gives its name; later rows with that code are aliases.
constexpr KeyRow kKeys[] = {
    {"A", platform::KeyA}, {"B", platform::KeyB}, {"C", platform::KeyC}, {"D", platform::KeyD},
    {"E", platform::KeyE}, {"F", platform::KeyF}, {"G", platform::KeyG}, {"H", platform::KeyH},
    {"I", platform::KeyI}, {"J", platform::KeyJ}, {"K", platform::KeyK}, {"L", platform::KeyL},
    {"M", platform::KeyM}, {"N", platform::KeyN}, {"O", platform::KeyO}, {"P", platform::KeyP},
    {"Q", platform::KeyQ}, {"R", platform::KeyR}, {"S", platform::KeyS}, {"T", platform::KeyT},
    {"U", platform::KeyU}, {"V", platform::KeyV}, {"W", platform::KeyW}, {"X", platform::KeyX},
    {"Y", platform::KeyY}, {"Z", platform::KeyZ},
    {"0", platform::Key0}, {"1", platform::Key1}, {"2", platform::Key2}, {"3", platform::Key3},
    {"4", platform::Key4}, {"5", platform::Key5}, {"6", platform::Key6}, {"7", platform::Key7},
    {"8", platform::Key8}, {"9", platform::Key9},
    {"Up", platform::KeyUp}, {"Down", platform::KeyDown}, {"Left", platform::KeyLeft},
    {"Right", platform::KeyRight},
    {"Space", platform::KeySpace}, {"Escape", platform::KeyEscape}, {"Esc", platform::KeyEscape},
    {"Return", platform::KeyReturn}, {"Enter", platform::KeyReturn},
    {"LeftShift", platform::KeyLeftShift}, {"RightShift", platform::KeyRightShift},
    {"LeftControl", platform::KeyLeftControl}, {"RightControl", platform::KeyRightControl},
    {"LeftCtrl", platform::KeyLeftControl}, {"RightCtrl", platform::KeyRightControl},
    {"LeftAlt", platform::KeyLeftAlt}, {"RightAlt", platform::KeyRightAlt},
    {"F1", platform::KeyF1}, {"F2", platform::KeyF2}, {"F3", platform::KeyF3},
    {"F4", platform::KeyF4}, {"F5", platform::KeyF5}, {"F6", platform::KeyF6},
    {"F7", platform::KeyF7}, {"F8", platform::KeyF8}, {"F9", platform::KeyF9},
    {"F10", platform::KeyF10}, {"F11", platform::KeyF11}, {"F12", platform::KeyF12},
    {"F13", platform::KeyF13}, {"F14", platform::KeyF14}, {"F15", platform::KeyF15},
    {"Tab", platform::KeyTab}, {"Backspace", platform::KeyBackspace},
    {"Minus", platform::KeyMinus}, {"Equals", platform::KeyEquals},
    {"LeftBracket", platform::KeyLeftBracket}, {"RightBracket", platform::KeyRightBracket},
    {"Semicolon", platform::KeySemicolon}, {"Apostrophe", platform::KeyApostrophe},
    {"Grave", platform::KeyGrave}, {"Backslash", platform::KeyBackslash},
    {"Comma", platform::KeyComma}, {"Period", platform::KeyPeriod}, {"Slash", platform::KeySlash},
    {"CapsLock", platform::KeyCapsLock}, {"NumLock", platform::KeyNumLock},
    {"ScrollLock", platform::KeyScrollLock}, {"NonUsBackslash", platform::KeyNonUsBackslash},
    {"Keypad0", platform::KeyKeypad0}, {"Keypad1", platform::KeyKeypad1},
    {"Keypad2", platform::KeyKeypad2}, {"Keypad3", platform::KeyKeypad3},
    {"Keypad4", platform::KeyKeypad4}, {"Keypad5", platform::KeyKeypad5},
    {"Keypad6", platform::KeyKeypad6}, {"Keypad7", platform::KeyKeypad7},
    {"Keypad8", platform::KeyKeypad8}, {"Keypad9", platform::KeyKeypad9},
    {"KeypadMinus", platform::KeyKeypadMinus}, {"KeypadPlus", platform::KeyKeypadPlus},
    {"KeypadMultiply", platform::KeyKeypadMultiply}, {"KeypadDivide", platform::KeyKeypadDivide},
    {"KeypadPeriod", platform::KeyKeypadPeriod}, {"KeypadEquals", platform::KeyKeypadEquals},
    {"KeypadEnter", platform::KeyKeypadEnter},
    {"PrintScreen", platform::KeyPrintScreen}, {"Pause", platform::KeyPause},
    {"Home", platform::KeyHome}, {"End", platform::KeyEnd}, {"PageUp", platform::KeyPageUp},
    {"PageDown", platform::KeyPageDown}, {"Insert", platform::KeyInsert},
    {"Delete", platform::KeyDelete}, {"LeftSuper", platform::KeyLeftSuper},
    {"RightSuper", platform::KeyRightSuper}, {"Menu", platform::KeyMenu},
};

bool SameIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

bool HexCode(const std::string& text, uint8_t& code) {
  if (text.size() < 3 || text.size() > 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X') ||
      !std::isxdigit(static_cast<unsigned char>(text[2])))
    return false;
  char* end = nullptr;
  unsigned long value = std::strtoul(text.c_str() + 2, &end, 16);
  if (*end || value == 0) return false;
  code = static_cast<uint8_t>(value);
  return true;
}

}  // namespace

bool KeyCodeFromName(const std::string& name, uint8_t& code) {
  for (const KeyRow& row : kKeys) {
    if (SameIgnoringCase(name, row.name)) {
      code = row.code;
      return true;
    }
  }
  return HexCode(name, code);
}

std::string KeyName(uint8_t code) {
  for (const KeyRow& row : kKeys)
    if (row.code == code) return row.name;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", code);
  return hex;
}

}  // namespace runner
