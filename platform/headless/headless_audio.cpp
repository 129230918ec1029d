#include "platform/headless/headless_audio.h"

namespace platform {

HeadlessAudio::HeadlessAudio() {
  mixer.SetClock([this]() -> uint32_t { return clock_ ? *clock_ : 0; });
}

}  // namespace platform
