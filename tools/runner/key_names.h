// Keys by the names a script writes: the letters, the digits, the arrows, Space, Escape,
// Return, the modifiers, F1 to F15 and the rest of the keyboard, or a code in hex.
#pragma once

#include <cstdint>
#include <string>

namespace runner {

// The key code of a name ("Space", "left", "F5", "A", "7"; any case) or of a hex code
// ("0x39", 1 to 0xFF). A digit alone is the digit key, never a code. False when neither.
bool KeyCodeFromName(const std::string& name, uint8_t& code);

// The name a script would use for code, or its hex form when the key has no name.
std::string KeyName(uint8_t code);

}  // namespace runner
