#pragma once

// A disk with too little room, without a mount: while a FileSizeLimit lives, a
// write past the given size of a file is cut short or fails with EFBIG (SIGXFSZ is
// ignored meanwhile). The earlier limit and signal action come back at its end.

#include <csignal>
#include <sys/resource.h>

namespace varnotest {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        m_held = getrlimit(RLIMIT_FSIZE, &m_earlier) == 0 && bytes <= m_earlier.rlim_max;
        const rlimit limited{bytes, m_earlier.rlim_max};
        m_held = m_held && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_held)
            setrlimit(RLIMIT_FSIZE, &m_earlier);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isHeld() const { return m_held; }

private:
    void (*m_signal)(int);
    rlimit m_earlier{};
    bool m_held = false;
};

} // namespace varnotest
