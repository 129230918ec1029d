// The keyboard and mouse of a host.
#pragma once

namespace platform {

class InputSource {
 public:
  virtual ~InputSource() = default;
};

}  // namespace platform
