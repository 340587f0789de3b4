#include "ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "qm41XX_utils.h"

namespace qm::ini {

namespace {

// Closes a descriptor on every path out of a function.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a save must replace: a symbolic link is followed, so the link keeps pointing at the saved
// settings instead of being replaced by a plain file.
std::string saveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

}  // namespace

int32_t readFile(const std::string& path, std::string* text, bool* missing) {
    text->clear();
    *missing = false;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            *missing = true;
            return QM41XXUTILS_SUCCESS;
        }
        return QM41XXUTILS_ERR_FILE_READ;
    }
    struct stat st {};
    // Only regular files: a folder cannot be read, and a device or pipe could hand out data forever.
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return QM41XXUTILS_ERR_FILE_READ;
    if (static_cast<uint64_t>(st.st_size) > MAX_FILE_SIZE) return QM41XXUTILS_ERR_FILE_TOO_LARGE;
    try {
        text->reserve(static_cast<size_t>(st.st_size));
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                text->clear();
                return QM41XXUTILS_ERR_FILE_READ;
            }
            if (n == 0) break;
            // The file may grow while it is read; the limit holds all the same.
            if (text->size() + static_cast<size_t>(n) > MAX_FILE_SIZE) {
                text->clear();
                return QM41XXUTILS_ERR_FILE_TOO_LARGE;
            }
            text->append(chunk, static_cast<size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        text->clear();
        return QM41XXUTILS_ERR_NO_MEMORY;
    }
    return QM41XXUTILS_SUCCESS;
}

int32_t replaceFile(const std::string& path, const std::string& text) {
    const std::string target = saveTarget(path);
    const std::string folder = folderOf(target);

    // An existing file keeps its permissions; a new one is readable by all, as editors create them. A
    // file nobody may write is one the operator marked read-only to keep it as it is: it is not replaced,
    // not even by an administrator whom the permissions would not stop.
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)
            return QM41XXUTILS_ERR_FILE_WRITE;
        mode = st.st_mode & 07777;
    }

    std::string temp = folder + "/.qm41xx-save-XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) return QM41XXUTILS_ERR_FILE_WRITE;

    bool ok = writeAll(fd.get(), text) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
    ok = (::close(fd.release()) == 0) && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return QM41XXUTILS_ERR_FILE_WRITE;
    }
    // Make the rename itself durable; if the folder cannot be synced the new file is in place anyway.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return QM41XXUTILS_SUCCESS;
}

}  // namespace qm::ini
