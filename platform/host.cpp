#include "platform/host.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
Host* installedHost = nullptr;
}

void InstallHost(Host* host) { installedHost = host; }

Host& CurrentHost() {
  if (!installedHost) {
    std::fprintf(stderr, "quor: no host installed\n");
    std::abort();
  }
  return *installedHost;
}

bool HasHost() { return installedHost != nullptr; }

}  // namespace platform
