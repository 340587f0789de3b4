// The fault-injection text (QM_FAULTS, qm_fault_parse): any text is armed or refused without harm, and
// an operation armed with a count fails for exactly that many calls with the status given.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "qm_faults.h"

namespace {

constexpr int MAX_HITS = 4;

bool digits(const std::string& s, size_t from, size_t to, size_t most) {
    if (to <= from || to - from > most) return false;
    for (size_t i = from; i < to; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}

// For texts of the simple form "a=STATUS:COUNT" (a short decimal status, a count of one or two digits):
// the status and count, read without the parser under test.
bool simpleEntry(const std::string& text, int32_t* status, int* count) {
    if (text.size() < 5 || text.compare(0, 2, "a=") != 0) return false;
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    const size_t first = text[2] == '-' ? 3 : 2;
    if (!digits(text, first, colon, 6) || !digits(text, colon + 1, text.size(), 2)) return false;
    *status = std::atoi(text.c_str() + 2);
    *count = std::atoi(text.c_str() + colon + 1);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The parser takes a C string: the text ends at the first NUL, as the environment's would.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string cText = text.c_str();
    qm_fault_clear_all();
    const int parsed = qm_fault_parse(cText.c_str());
    FUZZ_CHECK(parsed == 0 || parsed == -1);

    int hitsOfA = 0;
    int32_t statusOfA = 0;
    for (const char* operation : {"a", "qm4120_fpgaConfigure", "korvo_viOpen"}) {
        int32_t status = 0;
        int hits = 0;
        while (hits < MAX_HITS && qm_fault_hit(operation, &status)) ++hits;
        if (operation[0] == 'a') {
            hitsOfA = hits;
            statusOfA = status;
        }
    }
    int32_t status = 0;
    int count = 0;
    if (simpleEntry(cText, &status, &count)) {
        FUZZ_CHECK(parsed == 0);
        FUZZ_CHECK(hitsOfA == (count < MAX_HITS ? count : MAX_HITS));
        if (count > 0) FUZZ_CHECK(statusOfA == status);
    }
    qm_fault_clear_all();
    FUZZ_CHECK(qm_fault_hit("a", &status) == 0);
    return 0;
}
