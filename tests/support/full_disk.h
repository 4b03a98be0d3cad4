// A disk that fills up: while one of these lives, this process cannot write a file past `bytes`
// (writes there fail with EFBIG, a write across the limit stops short), as on a full disk. The
// limit and the signal it would raise are put back afterwards.
#pragma once
#include <sys/resource.h>

#include <csignal>

struct FullDisk {
    rlimit old{};
    void (*old_handler)(int) = SIG_DFL;
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        old_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, old_handler);
    }
};
