#include "replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

// Permissions of a file created afresh: what the process's file mask leaves of read and write for all.
mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty() && !committed_) ::unlink(temp_.c_str());
}

bool ReplacingFile::create() {
    if (path_.empty()) return false;
    // A folder given as the file, or a name ending in a slash, cannot be replaced by a file.
    struct stat old {};
    const bool exists = ::stat(path_.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return false;
    std::vector<char> pattern(path_.begin(), path_.end());
    const char suffix[] = ".XXXXXX";
    pattern.insert(pattern.end(), suffix, suffix + sizeof suffix);
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) return false;
    temp_ = pattern.data();
    ::fchmod(fd_, exists ? (old.st_mode & 07777) : newFileMode());
    return true;
}

bool ReplacingFile::write(const void* data, size_t bytes) {
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t n = ::write(fd_, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // ENOSPC, EFBIG, EIO: the file would be short
        p += n;
        bytes -= static_cast<size_t>(n);
    }
    return true;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) return false;
    // Writers that opened the temporary file themselves wrote through another descriptor of the same
    // file: this one flushes it all.
    const bool flushed = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || std::rename(temp_.c_str(), path_.c_str()) != 0) return false;
    committed_ = true;
    return true;
}
