// Version strings of our own files, read from the marker that qm_embed_file_version compiles in.

#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "qm_faults.h"
#include "qm_sysinfo.h"

namespace {

constexpr std::string_view MARKER = "QM_FILE_VERSION=";
constexpr size_t MAX_VERSION = 64;  // longest version text accepted after the marker
constexpr size_t CHUNK = 1u << 20;

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

struct LoadedSearch {
    const std::string* name;
    std::string found;
};

int matchLoaded(struct dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<LoadedSearch*>(data);
    if (info->dlpi_name && *info->dlpi_name && baseName(info->dlpi_name) == *search->name) {
        search->found = info->dlpi_name;
        return 1;
    }
    return 0;
}

// Finds a bare file name the way the program's libraries are found: those already loaded first (the
// very file the program runs with), then the program's folders, then the library path.
std::string locate(const std::string& name) {
    LoadedSearch search{&name, {}};
    dl_iterate_phdr(matchLoaded, &search);
    if (!search.found.empty()) return search.found;

    std::vector<std::string> folders;
    char exe[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        exe[n] = '\0';
        const std::string programFolder = folderOf(exe);
        folders.push_back(programFolder);
        folders.push_back(programFolder + "/../lib");
    }
    if (const char* env = std::getenv("LD_LIBRARY_PATH")) {
        std::string_view list(env);
        while (!list.empty()) {
            const size_t colon = list.find(':');
            const std::string_view entry = list.substr(0, colon);
            if (!entry.empty()) folders.emplace_back(entry);
            if (colon == std::string_view::npos) break;
            list.remove_prefix(colon + 1);
        }
    }
    folders.push_back("/usr/local/lib");
    if (*QM_LIBRARY_ARCH) folders.push_back(std::string("/usr/lib/") + QM_LIBRARY_ARCH);
    folders.push_back("/usr/lib");
    folders.push_back("/lib");
    for (const std::string& folder : folders) {
        const std::string candidate = folder + "/" + name;
        if (isFile(candidate)) return candidate;
    }
    return {};
}

// A version is one to four dot-separated numbers ending at a NUL byte, as the generated source writes
// it; anything else after a marker (the search text inside this very library, say) is not a version.
bool versionAt(std::string_view data, size_t start, std::string* version) {
    size_t end = start;
    while (end < data.size() && end - start <= MAX_VERSION && data[end] != '\0') ++end;
    if (end >= data.size() || end == start || end - start > MAX_VERSION) return false;
    const std::string_view text = data.substr(start, end - start);
    int parts = 1;
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && digit && parts < 4) {
            digit = false;
            ++parts;
        } else {
            return false;
        }
    }
    if (!digit) return false;
    *version = text;
    return true;
}

// Scans the file in chunks; consecutive chunks overlap by a marker and a version, so a marker cut by a
// chunk boundary is still seen whole.
int32_t scanFile(int fd, std::string* version) {
    const size_t overlap = MARKER.size() + MAX_VERSION + 1;
    std::string buffer;
    buffer.reserve(CHUNK + overlap);
    std::vector<char> chunk(CHUNK);
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return QM_SYSINFO_ERR_FILE_READ;
        }
        const bool atEnd = n == 0;
        buffer.append(chunk.data(), static_cast<size_t>(n));
        const std::string_view data(buffer);
        size_t pos = 0;
        while ((pos = data.find(MARKER, pos)) != std::string_view::npos) {
            if (versionAt(data, pos + MARKER.size(), version)) return QM_SYSINFO_SUCCESS;
            // A marker near the end may only lack the rest of its version: look again with more data.
            if (!atEnd && data.size() - pos < overlap) break;
            pos += MARKER.size();
        }
        if (atEnd) return QM_SYSINFO_ERR_NO_VERSION;
        if (buffer.size() > overlap) buffer.erase(0, buffer.size() - overlap);
    }
}

}  // namespace

extern "C" int32_t qm_fileVersion(const char* path, char* text, int32_t size) {
    if (text && size >= 1) text[0] = '\0';
    int32_t fault = 0;
    if (qm_fault_hit("qm_fileVersion", &fault)) return fault;
    if (!path || !*path || !text || size < 1) return QM_SYSINFO_ERR_INVALID_ARG;
    try {
        std::string file = path;
        if (file.find('/') == std::string::npos) {
            file = locate(file);
            if (file.empty()) return QM_SYSINFO_ERR_FILE_NOT_FOUND;
        }
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return errno == ENOENT || errno == ENOTDIR ? QM_SYSINFO_ERR_FILE_NOT_FOUND
                                                       : QM_SYSINFO_ERR_FILE_READ;
        struct stat st {};
        int32_t status = QM_SYSINFO_ERR_FILE_READ;
        std::string version;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) status = scanFile(fd, &version);
        ::close(fd);
        if (status < 0) return status;
        const size_t room = static_cast<size_t>(size) - 1;
        const size_t n = version.size() < room ? version.size() : room;
        std::memcpy(text, version.data(), n);
        text[n] = '\0';
        return version.size() > room ? QM_SYSINFO_WARN_TRUNCATED : QM_SYSINFO_SUCCESS;
    } catch (const std::bad_alloc&) {
        return QM_SYSINFO_ERR_FILE_READ;
    }
}
