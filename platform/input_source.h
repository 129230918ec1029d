// The keyboard and mouse of a host. The host feeds events in; the engine opens devices,
// each of which receives every event of its kind while it is acquired.
#pragma once

#include <memory>
#include <vector>

#include "platform/input_device.h"

namespace platform {

class InputSource {
 public:
  InputSource() = default;
  InputSource(const InputSource&) = delete;
  InputSource& operator=(const InputSource&) = delete;
  // Devices still open keep working as devices that nothing feeds.
  virtual ~InputSource();

  // A new device, not yet acquired.
  std::unique_ptr<KeyboardDevice> CreateKeyboardDevice();
  std::unique_ptr<MouseDevice> CreateMouseDevice();

  // Hands an event to every device of its kind.
  void DeliverKey(const KeyEvent& event);
  void DeliverMouse(const MouseEvent& event);
  // Every open device loses its input (another program took the devices).
  void LoseInput();
  // The next read of every open device of the kind answers result.
  void FailNextRead(InputDeviceBase::Kind kind, InputResult result);

  // The main window's client area, which bounds the mouse; set by the host with its window.
  void SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
  }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }

  // True while some mouse device is acquired.
  bool IsMouseAcquired() const;

 protected:
  // Told whenever a mouse device is acquired or unacquired.
  virtual void MouseAcquisitionChanged(bool anyAcquired) { (void)anyAcquired; }

 private:
  friend class InputDeviceBase;
  void Detach(InputDeviceBase* device);
  void AcquisitionChanged(InputDeviceBase* device);

  std::vector<KeyboardDevice*> keyboards_;
  std::vector<MouseDevice*> mice_;
  int clientWidth_ = 640;
  int clientHeight_ = 480;
};

}  // namespace platform
