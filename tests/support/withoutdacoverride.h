#pragma once

// Root, and root of a user namespace as ./test runs the tests, reads any file
// whatever its mode. While this lives the calling thread goes without that
// (CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH leave its effective set), so a file
// or folder of mode 000 cannot be read there, as for any other user.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace varnotest {

class WithoutDacOverride
{
public:
    WithoutDacOverride() : m_ok(syscall(SYS_capget, &m_header, m_saved) == 0)
    {
        __user_cap_data_struct dropped[2] = {m_saved[0], m_saved[1]};
        dropped[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_ok = m_ok && syscall(SYS_capset, &m_header, dropped) == 0;
    }
    ~WithoutDacOverride()
    {
        if (m_ok)
            syscall(SYS_capset, &m_header, m_saved);
    }
    bool ok() const { return m_ok; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_ok;
};

} // namespace varnotest
