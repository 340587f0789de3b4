#include "sigmf.h"

#include <algorithm>
#include <ctime>
#include <nlohmann/json.hpp>
#include <type_traits>
#include <vector>

namespace qm::sigmf {

namespace {

constexpr size_t CHUNK_WORDS = 65536;

const char* modulationName(uint16_t mode) {
    switch (mode) {
        case 0:
            return "UMTS";
        case 1:
            return "GSM";
        case 2:
            return "CDMA2000 1X";
        case 4:
            return "7706 emulation";
        case 5:
            return "generic";
        default:
            return "unknown";
    }
}

std::string hex4(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

// Writes the words in chunks through a byte buffer, least significant byte first, so the file is
// little-endian whatever the host.
template <typename Word>
bool writeWords(std::FILE* file, const Word* words, size_t count, bool swapPairs) {
    using Unsigned = std::make_unsigned_t<Word>;
    std::vector<unsigned char> bytes;
    bytes.reserve(CHUNK_WORDS * sizeof(Word));
    for (size_t first = 0; first < count; first += CHUNK_WORDS) {
        const size_t last = std::min(count, first + CHUNK_WORDS);
        bytes.clear();
        for (size_t k = first; k < last; ++k) {
            const size_t from = swapPairs ? (k ^ 1u) : k;
            const Unsigned u = static_cast<Unsigned>(words[from < count ? from : k]);
            for (size_t b = 0; b < sizeof(Word); ++b)
                bytes.push_back(static_cast<unsigned char>(u >> (8 * b)));
        }
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return false;
    }
    return true;
}

}  // namespace

std::string sigmfDatatype(const Applied& a) {
    if (a.sampleDataType == 0) return "ri16_le";
    return a.outputFormat ? "ci32_le" : "ci16_le";
}

double centreFrequency(const Applied& a) {
    return a.inputSource == 0 ? a.ifFrequencyHz : a.rfFrequencyHz;
}

bool spectrumMirrored(const Applied& a) {
    if (a.sampleDataType == 0) return false;
    return (a.inputSource == 0) != (a.negatePhaseWord != 0);
}

std::string sigmfMeta(const Recording& r) {
    const Applied& a = r.applied;
    using nlohmann::json;
    json settings = {
        {"resource", r.resource},
        {"input_source", a.inputSource == 0 ? "IF" : "RF"},
        {"rf_frequency_hz", a.rfFrequencyHz},
        {"lo_offset_hz", a.loOffsetHz},
        {"lo_position", a.loOffsetHz >= 0.0 ? "above" : "below"},
        {"if_frequency_hz", a.ifFrequencyHz},
        {"input_level_dbm", a.inputLevelDbm},
        {"rf_attenuation_db", a.rfAttenuationDb},
        {"if_attenuation_db", a.ifAttenuationDb},
        {"sample_data_type", a.sampleDataType == 0 ? "IF" : "I/Q"},
        {"word_bits", a.outputFormat && a.sampleDataType != 0 ? 32 : 16},
        {"modulation_mode", modulationName(a.modulationMode)},
        {"decimation", a.decimation},
        {"samples_requested", a.samples},
        {"trigger_source", a.triggerSource},
        {"iq_exchanged", r.pairsExchanged},
        // The band of the file as it lies: mirrored about the centre frequency when the module delivered
        // it mirrored and the pairs were kept as they came.
        {"spectrum_inverted", spectrumMirrored(a) != r.pairsExchanged},
    };
    if (!r.triggerName.empty()) settings["trigger"] = r.triggerName;
    const Identity& id = r.identity;
    json global = {
        {"core:datatype", sigmfDatatype(a)},
        {"core:sample_rate", a.sampleRateHz},
        {"core:version", "1.0.0"},
        {"core:num_channels", 1},
        {"core:hw", "QM4120 family PXI RF digitizer, model " + hex4(id.modelCode) + ", serial number " +
                        id.serialNumber},
        {"core:recorder", r.recorder},
        {"core:description", std::string("Block of ") + std::to_string(r.samples) +
                                 (a.sampleDataType == 0 ? " IF samples" : " I/Q samples") + " from " +
                                 r.resource},
        {"core:extensions", json::array({{{"name", "qm4120"}, {"version", "1.0.0"}, {"optional", true}}})},
        {"qm4120:model_code", hex4(id.modelCode)},
        {"qm4120:serial_number", id.serialNumber},
        {"qm4120:driver_revision", id.driverRevision},
        {"qm4120:fpga_revision", id.fpgaRevision},
        {"qm4120:pci_fpga_revision", id.pciFpgaRevision},
        {"qm4120:settings", settings},
    };
    if (!r.dataset.empty()) global["core:dataset"] = r.dataset;
    json capture = {
        {"core:sample_start", 0},
        {"core:frequency", centreFrequency(a)},
    };
    if (!r.datetime.empty()) capture["core:datetime"] = r.datetime;
    json meta = {{"global", global}, {"captures", json::array({capture})}, {"annotations", json::array()}};
    // Texts from the module are replaced where they are not valid UTF-8 rather than refused.
    return meta.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

bool writeWords16(std::FILE* file, const int16_t* words, size_t count, bool swapPairs) {
    return writeWords(file, words, count, swapPairs);
}

bool writeWords32(std::FILE* file, const int32_t* words, size_t count, bool swapPairs) {
    return writeWords(file, words, count, swapPairs);
}

std::string metaPathBeside(const std::string& dataPath, std::string* dataset) {
    static const std::string DATA = ".sigmf-data";
    const size_t slash = dataPath.find_last_of('/');
    const std::string name = slash == std::string::npos ? dataPath : dataPath.substr(slash + 1);
    if (name.size() > DATA.size() && name.compare(name.size() - DATA.size(), DATA.size(), DATA) == 0) {
        dataset->clear();
        return dataPath.substr(0, dataPath.size() - DATA.size()) + ".sigmf-meta";
    }
    *dataset = name;
    return dataPath + ".sigmf-meta";
}

std::string utcNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm utc{};
    gmtime_r(&ts.tv_sec, &utc);
    char text[40];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%03ldZ", ts.tv_nsec / 1000000);
    return text;
}

}  // namespace qm::sigmf
