#include "platform/window_event_order.h"

namespace platform {

void WindowEventOrder::Add(const WindowMessage& message, uint32_t time,
                           std::deque<WindowMessage>& queue) {
  switch (message.kind) {
    case WindowEvent::FocusLost:
      focusLost_ = true;
      focusLostAt_ = time;
      break;
    case WindowEvent::FocusGained:
      focusLost_ = false;
      break;
    case WindowEvent::Minimised:
      // In the engine's order this minimise came before the focus loss, while the game ran,
      // where it means nothing: it is not passed on.
      if (focusLost_ && time - focusLostAt_ <= kSameActionMs) return;
      break;
    default:
      break;
  }
  queue.push_back(message);
}

}  // namespace platform
