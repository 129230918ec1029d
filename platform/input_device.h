// Buffered input devices: a keyboard or a mouse whose events wait in a queue of 256 until
// the engine reads them once a frame. A device collects events only while acquired.
#pragma once

#include <cstdint>

namespace platform {

class InputSource;

// What a read of a device answers.
enum class InputResult {
  Ok,
  BufferOverflow,  // events were dropped since the last read; the read still returns the rest
  NotAcquired,     // the device is not acquired: nothing is read
  InputLost,       // the system took the device away; it is now unacquired
};

// A key went down or up.
struct KeyEvent {
  uint8_t code = 0;  // a KeyCode
  bool down = false;
};

// The part of the mouse an event is about.
enum class MouseObject : uint8_t { X, Y, Wheel, Button0, Button1, Button2, Button3 };

// A relative move along an axis (movement) or a button going down or up (down).
struct MouseEvent {
  MouseObject object = MouseObject::X;
  int32_t movement = 0;
  bool down = false;
};

constexpr uint32_t kInputBufferSize = 256;

// Acquisition, loss and injected failures, common to both kinds of device.
class InputDeviceBase {
 public:
  enum class Kind { Keyboard, Mouse };

  InputDeviceBase(const InputDeviceBase&) = delete;
  InputDeviceBase& operator=(const InputDeviceBase&) = delete;
  virtual ~InputDeviceBase();

  // Starts collecting events. Acquiring an acquired device changes nothing.
  void Acquire();
  // Stops collecting and drops the events not yet read; a loss not yet read goes unsaid, as
  // the reader let go of the device itself.
  void Unacquire();
  bool IsAcquired() const { return acquired_; }
  Kind GetKind() const { return kind_; }

  // The system took the device away: it is unacquired, and the next read says so once.
  void LoseInput();
  // The next read answers result instead of reading (BufferOverflow: reads, and reports it).
  void FailNextRead(InputResult result);

 protected:
  InputDeviceBase(InputSource* source, Kind kind) : source_(source), kind_(kind) {}
  virtual void Flush() = 0;
  // The answer of a read that must not take events, or Ok when the read may go on.
  InputResult RefusedRead();

 private:
  friend class InputSource;
  InputSource* source_;
  Kind kind_;
  bool acquired_ = false;
  bool lost_ = false;
  bool heldByWait_ = false;  // acquired when a wait began (InputSource::OpenWait)
  InputResult injected_ = InputResult::Ok;

 protected:
  bool overflow_ = false;
};

// A device holding events of one kind, oldest first. When more than 256 events wait, the
// oldest are dropped: the newest state of every key and button survives an overflow.
template <typename Event>
class InputDevice : public InputDeviceBase {
 public:
  InputDevice(InputSource* source, Kind kind) : InputDeviceBase(source, kind) {}

  // Takes up to *count events (never more than 256) into events, oldest first; *count
  // becomes the number taken. On NotAcquired and InputLost nothing is taken and *count is 0.
  InputResult Read(Event* events, uint32_t* count) {
    InputResult refused = RefusedRead();
    if (refused != InputResult::Ok) {
      *count = 0;
      return refused;
    }
    uint32_t want = *count < kInputBufferSize ? *count : kInputBufferSize;
    uint32_t n = 0;
    while (n < want && size_ > 0) {
      events[n++] = buffer_[head_];
      head_ = (head_ + 1) % kInputBufferSize;
      --size_;
    }
    *count = n;
    if (overflow_) {
      overflow_ = false;
      return InputResult::BufferOverflow;
    }
    return InputResult::Ok;
  }

  // Queues an event from the outside world; ignored while the device is not acquired.
  void Deliver(const Event& event) {
    if (!IsAcquired()) return;
    if (size_ == kInputBufferSize) {
      head_ = (head_ + 1) % kInputBufferSize;
      --size_;
      overflow_ = true;
    }
    buffer_[(head_ + size_) % kInputBufferSize] = event;
    ++size_;
  }

  uint32_t Waiting() const { return size_; }

 protected:
  void Flush() override {
    head_ = 0;
    size_ = 0;
    overflow_ = false;
  }

 private:
  Event buffer_[kInputBufferSize] = {};
  uint32_t head_ = 0;
  uint32_t size_ = 0;
};

using KeyboardDevice = InputDevice<KeyEvent>;
using MouseDevice = InputDevice<MouseEvent>;

}  // namespace platform
