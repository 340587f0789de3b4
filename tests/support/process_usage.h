// What the test process holds from the operating system, for long runs that must not leak: the resident
// set, the open file descriptors and the threads, read from /proc/self.
#ifndef QM_TESTS_SUPPORT_PROCESS_USAGE_H
#define QM_TESTS_SUPPORT_PROCESS_USAGE_H

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

// Resident set size in MiB.
inline double residentMiB() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1.0;
    const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
    std::fclose(f);
    if (read != 2) return -1.0;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Entries of a /proc/self folder: "fd" (open descriptors) or "task" (threads).
inline int procEntries(const char* folder) {
    std::error_code ec;
    int n = 0;
    for (auto it = std::filesystem::directory_iterator(std::string("/proc/self/") + folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++n;
    return n;
}
inline int openDescriptors() {
    return procEntries("fd");
}
inline int threadCount() {
    return procEntries("task");
}

// Resident-set samples of a long run, (seconds, MiB).
class RssSamples {
  public:
    void add(double seconds, double mib) { samples_.emplace_back(seconds, mib); }
    std::size_t size() const { return samples_.size(); }
    double first() const { return samples_.empty() ? 0.0 : samples_.front().second; }
    double last() const { return samples_.empty() ? 0.0 : samples_.back().second; }
    double lastTime() const { return samples_.empty() ? 0.0 : samples_.back().first; }
    double max() const {
        double m = 0.0;
        for (const auto& s : samples_) m = std::max(m, s.second);
        return m;
    }
    // The first sample taken at or after `seconds` (the last one when none is).
    double at(double seconds) const {
        for (const auto& s : samples_)
            if (s.first >= seconds) return s.second;
        return last();
    }

  private:
    std::vector<std::pair<double, double>> samples_;
};

#endif
