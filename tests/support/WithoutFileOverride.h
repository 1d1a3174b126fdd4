#pragma once
// Makes file permission bits hold for the calling thread, root included: while it lives, the
// thread's effective capabilities lack CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH, so a file of
// mode 0200 cannot be opened for reading by anyone. The capabilities come back at the end of the
// scope (they stay in the permitted set). For an ordinary user it changes nothing.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class WithoutFileOverride {
public:
    WithoutFileOverride() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutFileOverride() {
        if (lowered_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    WithoutFileOverride(const WithoutFileOverride&) = delete;
    WithoutFileOverride& operator=(const WithoutFileOverride&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};
