// Signal scenario: parsed from a short "key=value" text given by the person running the program.

#include "scenario.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qm::sim {

namespace {

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool parseNumber(const std::string& text, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    // "nan" and "inf" read as numbers, but no signal or delay is either.
    if (errno != 0 || end == text.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

}  // namespace

bool parseScenario(const std::string& text, Scenario* out) {
    Scenario s = *out;
    std::string normalised = text;
    for (char& c : normalised) {
        if (c == ';' || c == '\n') c = ',';
    }
    std::stringstream stream(normalised);
    std::string entry;
    while (std::getline(stream, entry, ',')) {
        entry = trim(entry);
        if (entry.empty() || entry[0] == '#') continue;
        const auto eq = entry.find('=');
        if (eq == std::string::npos) return false;
        const std::string key = trim(entry.substr(0, eq));
        double v = 0.0;
        if (!parseNumber(trim(entry.substr(eq + 1)), &v)) return false;
        if (key == "tone_offset") {
            s.toneOffsetHz = v;
        } else if (key == "tone_frequency") {
            s.toneAbsoluteHz = v;
        } else if (key == "tone_level") {
            s.toneLevelDbm = v;
        } else if (key == "noise") {
            s.noiseDbmPerHz = v;
        } else if (key == "ref") {
            s.referencePresent = v != 0.0;
        } else if (key == "aux_ref") {
            s.auxReferencePresent = v != 0.0;
        } else if (key == "line_trigger_ms") {
            s.lineTriggerDelayMs = v;
        } else if (key == "burst_on_ms") {
            if (v < 0.0) return false;
            s.burstOnMs = v;
        } else if (key == "burst_off_ms") {
            if (v < 0.0) return false;
            s.burstOffMs = v;
        } else if (key == "capture_limit") {
            if (v < 0.0) return false;
            s.captureLimitSamples = v;
        } else if (key == "gate_ms") {
            if (v < 0.0) return false;
            s.gateOpenMs = v;
        } else if (key == "list_address") {
            if (v < 0.0 || v > 127.0) return false;
            s.listAddressLines = v;
        } else if (key == "list_strobe_us") {
            if (v < 0.0) return false;
            s.listStrobePeriodUs = v;
        } else if (key == "hop_step") {
            s.hopStepHz = v;
        } else if (key == "hop_count") {
            if (v < 1.0 || v > 1e6 || v != std::floor(v)) return false;
            s.hopCount = v;
        } else {
            return false;
        }
    }
    *out = s;
    return true;
}

Scenario scenarioFromEnvironment() {
    Scenario s;
    if (const char* text = std::getenv("QM4120_SIM_SIGNAL")) {
        parseScenario(text, &s);
    } else if (const char* file = std::getenv("QM4120_SIM_SIGNAL_FILE")) {
        std::ifstream in(file);
        std::stringstream content;
        content << in.rdbuf();
        if (in) parseScenario(content.str(), &s);
    }
    return s;
}

}  // namespace qm::sim
