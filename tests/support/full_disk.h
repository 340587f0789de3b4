// A disk that fills up, for the tests of writes that fail part-way.
#ifndef QM_TESTS_SUPPORT_FULL_DISK_H
#define QM_TESTS_SUPPORT_FULL_DISK_H

#include <sys/resource.h>

#include <csignal>

// Files of this process may grow to `bytes` only while it lives: a disk that fills up. Writes beyond fail
// with EFBIG instead of the signal that would end the process.
class FullDisk {
  public:
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool ok() const { return ok_; }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool ok_ = false;
};

#endif
