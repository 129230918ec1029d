#include "platform/input_source.h"

#include <algorithm>

namespace platform {

InputDeviceBase::~InputDeviceBase() {
  if (source_) source_->Detach(this);
}

void InputDeviceBase::Acquire() {
  lost_ = false;
  injected_ = InputResult::Ok;
  if (acquired_) return;
  acquired_ = true;
  Flush();
  if (source_) source_->AcquisitionChanged(this);
}

void InputDeviceBase::Unacquire() {
  lost_ = false;
  if (!acquired_) return;
  acquired_ = false;
  Flush();
  if (source_) source_->AcquisitionChanged(this);
}

void InputDeviceBase::LoseInput() {
  if (!acquired_) return;
  Unacquire();
  lost_ = true;
}

void InputDeviceBase::FailNextRead(InputResult result) {
  if (result == InputResult::BufferOverflow)
    overflow_ = true;
  else
    injected_ = result;
}

InputResult InputDeviceBase::RefusedRead() {
  if (injected_ != InputResult::Ok) {
    InputResult r = injected_;
    injected_ = InputResult::Ok;
    return r;
  }
  if (lost_) {
    lost_ = false;
    return InputResult::InputLost;
  }
  if (!acquired_) return InputResult::NotAcquired;
  return InputResult::Ok;
}

InputSource::~InputSource() {
  for (auto* d : keyboards_) d->source_ = nullptr;
  for (auto* d : mice_) d->source_ = nullptr;
}

std::unique_ptr<KeyboardDevice> InputSource::CreateKeyboardDevice() {
  auto device = std::make_unique<KeyboardDevice>(this, InputDeviceBase::Kind::Keyboard);
  keyboards_.push_back(device.get());
  return device;
}

std::unique_ptr<MouseDevice> InputSource::CreateMouseDevice() {
  auto device = std::make_unique<MouseDevice>(this, InputDeviceBase::Kind::Mouse);
  mice_.push_back(device.get());
  return device;
}

void InputSource::DeliverKey(const KeyEvent& event) {
  for (auto* d : keyboards_) d->Deliver(event);
}

void InputSource::DeliverMouse(const MouseEvent& event) {
  for (auto* d : mice_) d->Deliver(event);
}

template <typename Action>
void InputSource::ForEachDevice(Action action) {
  for (auto* d : keyboards_) action(*d);
  for (auto* d : mice_) action(*d);
}

void InputSource::LoseInput() {
  ForEachDevice([](InputDeviceBase& d) { d.LoseInput(); });
}

void InputSource::OpenWait() {
  if (waits_++ > 0) return;
  ForEachDevice([](InputDeviceBase& d) {
    d.heldByWait_ = d.IsAcquired();
    d.Unacquire();
  });
}

void InputSource::CloseWait() {
  if (waits_ == 0 || --waits_ > 0) return;
  ForEachDevice([](InputDeviceBase& d) {
    if (!d.heldByWait_) return;
    d.heldByWait_ = false;
    d.Acquire();
    d.lost_ = true;
  });
}

void InputSource::FailNextRead(InputDeviceBase::Kind kind, InputResult result) {
  if (kind == InputDeviceBase::Kind::Keyboard)
    for (auto* d : keyboards_) d->FailNextRead(result);
  else
    for (auto* d : mice_) d->FailNextRead(result);
}

bool InputSource::IsMouseAcquired() const {
  return std::any_of(mice_.begin(), mice_.end(), [](MouseDevice* d) { return d->IsAcquired(); });
}

void InputSource::Detach(InputDeviceBase* device) {
  bool wasAcquiredMouse = device->GetKind() == InputDeviceBase::Kind::Mouse && device->IsAcquired();
  keyboards_.erase(std::remove(keyboards_.begin(), keyboards_.end(), device), keyboards_.end());
  mice_.erase(std::remove(mice_.begin(), mice_.end(), device), mice_.end());
  if (wasAcquiredMouse) MouseAcquisitionChanged(IsMouseAcquired());
}

void InputSource::AcquisitionChanged(InputDeviceBase* device) {
  if (device->GetKind() == InputDeviceBase::Kind::Mouse) MouseAcquisitionChanged(IsMouseAcquired());
}

}  // namespace platform
