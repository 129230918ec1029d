#include "platform/video_output.h"

namespace platform {

GammaTable GammaTable::Identity() {
  GammaTable t;
  for (int i = 0; i < 256; ++i) t.red[i] = t.green[i] = t.blue[i] = uint16_t(i * 255);
  return t;
}

bool GammaTable::IsIdentity() const {
  for (int i = 0; i < 256; ++i)
    if (red[i] != i * 255 || green[i] != i * 255 || blue[i] != i * 255) return false;
  return true;
}

}  // namespace platform
