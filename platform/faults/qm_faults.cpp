#include "qm_faults.h"

#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

struct Armed {
    int32_t status;
    int32_t remaining;  // < 0: every call
};

struct Registry {
    std::mutex lock;
    std::unordered_map<std::string, Armed> armed;
    // Entries that take over, in order, once an operation's armed entry is used up.
    std::unordered_map<std::string, std::deque<Armed>> following;
    bool envRead = false;
};

Registry& registry() {
    static Registry r;
    return r;
}

bool parseStatus(const std::string& text, int32_t* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    // Decimal, or hexadecimal after 0x; a leading zero does not make it octal ("042" is 42). Statuses
    // such as 0xBFFF0011 exceed INT32_MAX and are taken as their two's-complement value, as the
    // libraries return them.
    const size_t digits = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const bool hex = text.size() > digits + 1 && text[digits] == '0' && (text[digits + 1] | 0x20) == 'x';
    long long v = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (end == text.c_str() || *end != '\0') return false;
    if (v < INT32_MIN || v > UINT32_MAX) return false;
    *out = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

int parseInto(Registry& r, const char* text) {
    std::string all = text ? text : "";
    size_t pos = 0;
    while (pos <= all.size()) {
        size_t comma = all.find(',', pos);
        if (comma == std::string::npos) comma = all.size();
        std::string entry = all.substr(pos, comma - pos);
        pos = comma + 1;
        if (entry.find_first_not_of(" \t") == std::string::npos) {
            if (comma == all.size()) break;
            continue;
        }
        size_t eq = entry.find('=');
        if (eq == std::string::npos || eq == 0) return -1;
        std::string name = entry.substr(0, eq);
        std::string rest = entry.substr(eq + 1);
        int32_t count = -1;
        size_t colon = rest.find(':');
        if (colon != std::string::npos) {
            int32_t c = 0;
            if (!parseStatus(rest.substr(colon + 1), &c) || c < 0) return -1;
            count = c;
            rest = rest.substr(0, colon);
        }
        int32_t status = 0;
        if (!parseStatus(rest, &status)) return -1;
        // A count of 0 arms nothing, as with qm_fault_set: the fault covers the next zero calls.
        if (count != 0) {
            r.armed[name] = Armed{status, count};
            r.following.erase(name);
        }
        if (comma == all.size()) break;
    }
    return 0;
}

void readEnvLocked(Registry& r) {
    if (r.envRead) return;
    r.envRead = true;
    if (const char* env = std::getenv("QM_FAULTS")) parseInto(r, env);
}

}  // namespace

extern "C" int qm_fault_hit(const char* operation, int32_t* status) {
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    readEnvLocked(r);
    if (r.armed.empty() || !operation) return 0;
    auto it = r.armed.find(operation);
    if (it == r.armed.end()) return 0;
    if (status) *status = it->second.status;
    if (it->second.remaining > 0 && --it->second.remaining == 0) {
        auto next = r.following.find(operation);
        if (next != r.following.end() && !next->second.empty()) {
            it->second = next->second.front();
            next->second.pop_front();
        } else {
            r.armed.erase(it);
        }
    }
    return 1;
}

extern "C" void qm_fault_set(const char* operation, int32_t status, int32_t count) {
    if (!operation || count == 0) return;
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    readEnvLocked(r);
    r.armed[operation] = Armed{status, count};
    r.following.erase(operation);
}

extern "C" void qm_fault_then(const char* operation, int32_t status, int32_t count) {
    if (!operation || count == 0) return;
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    readEnvLocked(r);
    if (r.armed.count(operation) == 0)
        r.armed[operation] = Armed{status, count};
    else
        r.following[operation].push_back(Armed{status, count});
}

extern "C" void qm_fault_clear(const char* operation) {
    if (!operation) return;
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    readEnvLocked(r);
    r.armed.erase(operation);
    r.following.erase(operation);
}

extern "C" void qm_fault_clear_all(void) {
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    r.envRead = true;
    r.armed.clear();
    r.following.clear();
}

extern "C" int qm_fault_parse(const char* text) {
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    readEnvLocked(r);
    return parseInto(r, text);
}
