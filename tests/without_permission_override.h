// Tests that need a read-only folder to be read-only even when they run as root.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While alive, the calling thread cannot override file permissions: root's power to write into
// any folder (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) is taken out of the thread's effective set
// and given back afterwards, so a read-only folder is read-only whoever runs the test. Other
// users have nothing to take out.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
      reduced[capability / 32].effective &= ~(1u << (capability % 32));
    syscall(SYS_capset, &header_, reduced);
  }
  ~WithoutPermissionOverride() { syscall(SYS_capset, &header_, saved_); }
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};  // 0: this thread
  __user_cap_data_struct saved_[2]{};
};
