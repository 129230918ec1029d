// Window messages in the order the engine's window procedure was written for.
//
// A window minimised while it has the keyboard focus is told so before it loses the
// focus, and a minimise that comes while the game is already paused (the focus went
// elsewhere first) keeps the game paused through the next focus gain. Desktop window
// managers report the same minimise after the focus loss it causes; taken as it comes,
// that would look like a minimise while paused and leave the game and its sound paused
// after a plain minimise and restore.
#pragma once

#include <cstdint>
#include <deque>

#include "platform/host.h"

namespace platform {

class WindowEventOrder {
 public:
  // A minimise this soon after a focus loss is the one that took the focus away.
  static constexpr uint32_t kSameActionMs = 250;

  // Queues the message for the engine. `time` is the event's time in milliseconds.
  void Add(const WindowMessage& message, uint32_t time, std::deque<WindowMessage>& queue);

 private:
  bool focusLost_ = false;
  uint32_t focusLostAt_ = 0;
};

}  // namespace platform
