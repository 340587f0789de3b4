// The program's INI bootstrap: qm4120_sfp.ini as the operator (or a damaged disk) left it, read through
// the settings library's file road exactly as start-up reads it, then the separator clean-up start-up
// applies to the folder it found.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "settings_dir_ini.h"

namespace {

constexpr size_t DIR_SIZE = 260;  // the program's settings folder buffer
const char SENTINEL[] = "/default/settings";

// The input lives in a memory file reached by path, so the library opens, checks and reads it as it
// would a file on disk, without touching the disk.
const std::string& inputPath() {
    static const std::string path = [] {
        const int fd = memfd_create("qm4120_sfp.ini", MFD_CLOEXEC);
        FUZZ_CHECK(fd >= 0);
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

int inputFd() {
    return std::stoi(inputPath().substr(std::strlen("/proc/self/fd/")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = inputFd();
    FUZZ_CHECK(ftruncate(fd, 0) == 0);
    FUZZ_CHECK(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));

    // The full buffer, and a short one whose truncation road a long folder name takes.
    for (const size_t room : {DIR_SIZE, size_t{12}}) {
        char dir[DIR_SIZE + 8];
        std::memset(dir, 'Z', sizeof dir);
        std::memcpy(dir, SENTINEL, sizeof SENTINEL);
        char before[sizeof dir];
        std::memcpy(before, dir, sizeof dir);
        const SettingsDirRead result = readSettingsDirFromIni(inputPath().c_str(), dir, room);
        // Nothing beyond the buffer is touched, whatever the file holds.
        FUZZ_CHECK(std::memcmp(dir + room, before + room, sizeof dir - room) == 0);
        if (result != SettingsDirRead::Found) {
            // The default folder stays on every road but a successful read.
            FUZZ_CHECK(std::memcmp(dir, SENTINEL, sizeof SENTINEL) == 0);
            continue;
        }
        const size_t length = strnlen(dir, room);
        FUZZ_CHECK(length < room);
        collapseDoubledSeparators(dir);
        FUZZ_CHECK(std::strlen(dir) <= length);
    }
    return 0;
}
