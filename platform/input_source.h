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

  // Every wait that holds a frame (a box, the prompt, a chooser, a save's wait for another
  // game's) is one of these, in each host alike. The player's keys and buttons meanwhile are
  // the wait's: the devices let them go by. Once the last wait open is closed, each device
  // that was acquired is again, and its first read says its input was lost, so that its
  // reader starts afresh: a key let go during the wait is up, a key pressed again after it is
  // a new press, and what is pressed after the wait is kept.
  void OpenWait();
  void CloseWait();

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

  template <typename Action>
  void ForEachDevice(Action action);

  std::vector<KeyboardDevice*> keyboards_;
  std::vector<MouseDevice*> mice_;
  int waits_ = 0;
  int clientWidth_ = 640;
  int clientHeight_ = 480;
};

// Holds a wait open while it lives.
class InputWait {
 public:
  explicit InputWait(InputSource& input) : input_(input) { input_.OpenWait(); }
  ~InputWait() { input_.CloseWait(); }
  InputWait(const InputWait&) = delete;
  InputWait& operator=(const InputWait&) = delete;

 private:
  InputSource& input_;
};

}  // namespace platform
