#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kontaro::test {

// Files of this process may grow to a few bytes only, as on a nearly full disk: a write past the
// limit fails (EFBIG) instead of ending the process.
class NearlyFullDisk {
public:
    explicit NearlyFullDisk(rlim_t bytes) {
        m_oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~NearlyFullDisk() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldSignal);
    }
    NearlyFullDisk(const NearlyFullDisk&) = delete;
    NearlyFullDisk& operator=(const NearlyFullDisk&) = delete;

private:
    rlimit m_old{};
    void (*m_oldSignal)(int) = nullptr;
};

} // namespace kontaro::test
