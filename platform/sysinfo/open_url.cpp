// Opening a web address in the desktop's browser.

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>

#include "qm_faults.h"
#include "qm_sysinfo.h"

extern char** environ;

extern "C" int32_t qm_openUrl(const char* url) {
    int32_t fault = 0;
    if (qm_fault_hit("qm_openUrl", &fault)) return fault;
    // An address starting with '-' would reach the opener as an option.
    if (!url || !*url || *url == '-') return QM_SYSINFO_ERR_INVALID_ARG;

    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return QM_SYSINFO_ERR_LAUNCH;
    // Its own session, so that the browser does not share the program's terminal or die with it.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    std::string program = "xdg-open";
    std::string address = url;
    char* argv[] = {program.data(), address.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "xdg-open", nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return QM_SYSINFO_ERR_LAUNCH;

    // The panel does not wait for the browser; a helper thread collects the opener's exit so that no
    // zombie process is left behind.
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread the opener still runs; only its exit status goes uncollected.
    }
    return QM_SYSINFO_SUCCESS;
}
