// Command line of the recorder: what to set on the module, how to trigger, where to write.
#ifndef QM4120_RECORDER_OPTIONS_H
#define QM4120_RECORDER_OPTIONS_H

#include <cstdint>
#include <optional>
#include <string>

namespace qm::recorder {

// How the samples reach the disk: a SigMF recording, or one of the driver's five capture file formats.
enum class FileFormat { SigMF, Decimal, FloatText, Csv, Raw, FloatBinary };

struct Options {
    std::string resource = "0x4120";
    std::optional<double> frequencyHz;
    std::optional<double> levelDbm;
    std::optional<uint16_t> inputSource;  // 0 IF input, 1 RF input
    std::optional<bool> loAbove;
    bool iq = true;  // I/Q samples, or real IF samples
    int bits = 16;
    std::optional<uint32_t> decimation;
    std::optional<uint32_t> samples;
    uint16_t triggerSource = 32;  // software
    std::string triggerName = "software";
    double timeoutS = 10.0;
    FileFormat format = FileFormat::SigMF;
    std::string output;
};

enum class ParseResult { Run, Help, Version, Error };

// Reads the command line into `out`. On Error, `error` says what is wrong with which option.
ParseResult parseOptions(int argc, char** argv, Options* out, std::string* error);

// The text of --help.
std::string usageText();

// The name of a format on the command line, and whether it holds I/Q pairs only.
const char* formatName(FileFormat format);
bool formatNeedsIq(FileFormat format);

}  // namespace qm::recorder

#endif
