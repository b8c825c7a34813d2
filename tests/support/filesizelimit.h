#pragma once

// Limits the size of every file this process writes, also for root: a disk with too
// little room, without a mount. A write past it fails (SIGXFSZ is ignored).

#include <csignal>
#include <sys/resource.h>

namespace varnotest {

struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};

} // namespace varnotest
