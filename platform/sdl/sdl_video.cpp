#include "platform/sdl/sdl_video.h"

namespace platform {

bool SdlVideo::SetMode(int, int, int, bool) { return true; }
void SdlVideo::Present(const Surface&) {}

}  // namespace platform
