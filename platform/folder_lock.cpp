#include "platform/folder_lock.h"

#include <utility>

namespace platform {

namespace {
std::function<void(FolderWait)>& WaitHandler() {
  static std::function<void(FolderWait)> handler;
  return handler;
}
}  // namespace

void SetFolderWaitHandler(std::function<void(FolderWait)> handler) {
  WaitHandler() = std::move(handler);
}

void TellFolderWait(FolderWait step) {
  if (WaitHandler()) WaitHandler()(step);
}

}  // namespace platform
