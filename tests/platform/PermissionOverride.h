// Tests of write protection have to run as the user they protect against. Root passes every
// permission check through CAP_DAC_OVERRIDE; this guard takes that capability out of the
// calling thread's effective set for its life (capabilities belong to each thread, so only
// the test's own thread is affected) and puts it back at the end.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <linux/capability.h>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace z417::test {

class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        if (geteuid() != 0) {
            ok_ = true; // nothing to give up
            return;
        }
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) != 0) {
            error_ = std::string("capget: ") + std::strerror(errno);
            return;
        }
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, saved_, sizeof lowered);
        lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        if (syscall(SYS_capset, &header_, lowered) != 0) {
            error_ = std::string("capset: ") + std::strerror(errno);
            return;
        }
        lowered_ = true;
        ok_ = true;
    }
    ~WithoutPermissionOverride() {
        if (lowered_ && syscall(SYS_capset, &header_, saved_) != 0)
            ADD_FAILURE() << "capset (restore): " << std::strerror(errno);
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

    // False when the override could not be given up; error() says why.
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
    bool ok_ = false;
    std::string error_;
};

} // namespace z417::test
