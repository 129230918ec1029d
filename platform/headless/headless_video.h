// Frames kept in memory instead of shown.
#pragma once

#include "platform/video_output.h"

namespace platform {

class HeadlessVideo : public VideoOutput {
 public:
  bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) override;
  void Present(const Surface& frame) override;

  int presentedFrames = 0;
  bool refuseMode = false;  // the next SetMode calls fail
  int width = 0, height = 0, bitsPerPixel = 0;
  bool fullScreen = false;
};

}  // namespace platform
