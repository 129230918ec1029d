// Keyboard and mouse events scripted by the test.
#pragma once

#include "platform/input_source.h"

namespace platform {

class HeadlessInput : public InputSource {
 public:
};

}  // namespace platform
