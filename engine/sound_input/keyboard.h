// Stand-in until input lands.
#pragma once

#include <cstdint>

namespace quor {

class Keyboard {
 public:
  Keyboard() = default;
  void Update() {}
  void Acquire() {}
  void Unacquire() {}
  void ClearKeys() {}
  bool IsKeyDown(uint32_t) const { return false; }
  bool IsKeyPressed(uint32_t) const { return false; }
};

}  // namespace quor
