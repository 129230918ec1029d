// An integer rectangle: left, top, right, bottom (right and bottom exclusive).
#pragma once

#include <cstdint>

namespace quor {

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

inline void SetRect(Rect* r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  r->left = left;
  r->top = top;
  r->right = right;
  r->bottom = bottom;
}

inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace quor
