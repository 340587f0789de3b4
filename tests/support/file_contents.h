// Files as the tests read and write them whole, and a disk that fills up.
#ifndef QM_TESTS_SUPPORT_FILE_CONTENTS_H
#define QM_TESTS_SUPPORT_FILE_CONTENTS_H

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>

// The bytes of a file; empty when there is none.
inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

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
