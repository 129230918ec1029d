// Permissions as an ordinary user meets them, for a test that may run as root: while an
// OrdinaryUser lives, the calling thread has no power to pass over a file's permission
// bits, a folder's sticky bit or a file's owner. Elsewhere it changes nothing.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testing_support {

class OrdinaryUser {
 public:
  OrdinaryUser() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &= ~(1u << CAP_CHOWN | 1u << CAP_DAC_OVERRIDE |
                              1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER | 1u << CAP_FSETID);
    lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~OrdinaryUser() {
    if (lowered_) syscall(SYS_capset, &header_, saved_);
  }
  OrdinaryUser(const OrdinaryUser&) = delete;
  OrdinaryUser& operator=(const OrdinaryUser&) = delete;

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool lowered_ = false;
};

}  // namespace testing_support
