#pragma once

#include <csignal>
#include <sys/resource.h>

// Lets the process write files no larger than `bytes` while it lives, as a
// full disk would: writing past it fails with EFBIG (the signal that would
// end the process is ignored meanwhile). Unlike a read-only folder it holds
// for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_before;
        limited.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool ok() const { return m_ok; }

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
    bool m_ok = false;
};
