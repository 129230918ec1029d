// Stand-in until input lands.
#pragma once

#include <cstdint>

namespace quor {

class Mouse {
 public:
  Mouse() = default;
  void Update() {}
  void Acquire() {}
  void Unacquire() {}
  void ClearButtons() {}
  void SetPosition(int32_t, int32_t) {}
  int32_t GetWorldX() const { return 0; }
  int32_t GetWorldY() const { return 0; }
};

}  // namespace quor
