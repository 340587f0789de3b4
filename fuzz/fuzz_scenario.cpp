// The simulated module's signal-scenario text (QM4120_SIM_SIGNAL or the file it names): refused as a
// whole or taken as a whole, and what is taken is a signal the module can be fed.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "scenario.h"

using qm::sim::Scenario;

namespace {

bool sameScenario(const Scenario& a, const Scenario& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool finite(const Scenario& s) {
    for (const double v : {s.toneOffsetHz, s.toneAbsoluteHz, s.toneLevelDbm, s.noiseDbmPerHz, s.burstOnMs,
                           s.burstOffMs, s.lineTriggerDelayMs, s.captureLimitSamples, s.gateOpenMs,
                           s.listAddressLines, s.listStrobePeriodUs}) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // A starting point unlike the defaults, so that a partial change shows.
    Scenario start;
    start.toneOffsetHz = 1234.5;
    start.listAddressLines = 17;
    start.burstOffMs = 3;
    Scenario s = start;
    if (!qm::sim::parseScenario(text, &s)) {
        FUZZ_CHECK(sameScenario(s, start));
        return 0;
    }
    FUZZ_CHECK(finite(s));
    FUZZ_CHECK(s.burstOnMs >= 0 && s.burstOffMs >= 0 && s.captureLimitSamples >= 0 && s.gateOpenMs >= 0);
    FUZZ_CHECK(s.listAddressLines >= 0 && s.listAddressLines <= 127 && s.listStrobePeriodUs >= 0);
    return 0;
}
