#include "options.h"

#include <getopt.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qm::recorder {

namespace {

struct FormatEntry {
    const char* name;
    FileFormat format;
    bool iqOnly;
};

const FormatEntry FORMATS[] = {
    {"sigmf", FileFormat::SigMF, false},
    {"decimal", FileFormat::Decimal, false},
    {"float-text", FileFormat::FloatText, true},
    {"csv", FileFormat::Csv, true},
    {"raw", FileFormat::Raw, false},
    {"float-binary", FileFormat::FloatBinary, true},
};

// Trigger lines by name: a family prefix and the range of its numbers, mapped onto the module's
// source codes.
struct LineFamily {
    const char* prefix;
    int first;
    int last;
    uint16_t code;  // source code of number `first`
};

const LineFamily LINES[] = {
    {"pxi_trig", 0, 7, 0},
    {"pxi_lbl", 0, 12, 9},
    {"lvds_marker", 1, 4, 22},
    {"lvds_aux", 0, 4, 26},
};

struct NamedSource {
    const char* name;
    uint16_t code;
};

const NamedSource SOURCES[] = {
    {"software", 32}, {"pxi_star", 8}, {"lvds_spare", 31}, {"timer", 34}, {"internal", 35}, {"smb", 36},
};

bool parseDouble(const char* text, double* value) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

// A count from 1 to 2^32 - 1, decimal or 0x hexadecimal; a sign, a fraction or trailing text refuse it.
bool parseCount(const char* text, uint32_t* value) {
    if (*text == '-' || *text == '+') return false;
    char* end = nullptr;
    errno = 0;
    // Decimal unless it starts with 0x: a leading zero does not make it octal.
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const unsigned long long v = std::strtoull(text, &end, hex ? 16 : 10);
    if (errno != 0 || end == text || *end != '\0' || v == 0 || v > UINT32_MAX) return false;
    *value = static_cast<uint32_t>(v);
    return true;
}

bool parseTrigger(const char* text, uint16_t* code) {
    for (const NamedSource& s : SOURCES) {
        if (std::strcmp(text, s.name) == 0) {
            *code = s.code;
            return true;
        }
    }
    for (const LineFamily& f : LINES) {
        const size_t n = std::strlen(f.prefix);
        if (std::strncmp(text, f.prefix, n) != 0) continue;
        const char* digits = text + n;
        if (*digits < '0' || *digits > '9' || std::strlen(digits) > 2) return false;
        const int number = std::atoi(digits);
        if (number < f.first || number > f.last) return false;
        *code = static_cast<uint16_t>(f.code + number - f.first);
        return true;
    }
    return false;
}

enum OptionId {
    OPT_RESOURCE = 1000,
    OPT_FREQUENCY,
    OPT_LEVEL,
    OPT_INPUT,
    OPT_LO,
    OPT_IF,
    OPT_IQ,
    OPT_BITS,
    OPT_DECIMATION,
    OPT_SAMPLES,
    OPT_TRIGGER,
    OPT_TIMEOUT,
    OPT_FORMAT,
    OPT_OUTPUT,
    OPT_HELP,
    OPT_VERSION,
};

const struct option LONG_OPTIONS[] = {
    {"resource", required_argument, nullptr, OPT_RESOURCE},
    {"frequency", required_argument, nullptr, OPT_FREQUENCY},
    {"level", required_argument, nullptr, OPT_LEVEL},
    {"input", required_argument, nullptr, OPT_INPUT},
    {"lo", required_argument, nullptr, OPT_LO},
    {"if", no_argument, nullptr, OPT_IF},
    {"iq", no_argument, nullptr, OPT_IQ},
    {"bits", required_argument, nullptr, OPT_BITS},
    {"decimation", required_argument, nullptr, OPT_DECIMATION},
    {"samples", required_argument, nullptr, OPT_SAMPLES},
    {"trigger", required_argument, nullptr, OPT_TRIGGER},
    {"timeout", required_argument, nullptr, OPT_TIMEOUT},
    {"format", required_argument, nullptr, OPT_FORMAT},
    {"output", required_argument, nullptr, OPT_OUTPUT},
    {"help", no_argument, nullptr, OPT_HELP},
    {"version", no_argument, nullptr, OPT_VERSION},
    {nullptr, 0, nullptr, 0},
};

std::string bad(const char* option, const char* value, const char* expected) {
    return std::string("invalid value '") + value + "' for --" + option + ": expected " + expected;
}

}  // namespace

const char* formatName(FileFormat format) {
    for (const FormatEntry& f : FORMATS) {
        if (f.format == format) return f.name;
    }
    return "?";
}

bool formatNeedsIq(FileFormat format) {
    for (const FormatEntry& f : FORMATS) {
        if (f.format == format) return f.iqOnly;
    }
    return false;
}

ParseResult parseOptions(int argc, char** argv, Options* out, std::string* error) {
    Options o;
    bool triggerGiven = false;
    bool timeoutGiven = false;
    // getopt keeps its place between calls; start afresh and report errors ourselves.
    optind = 0;
    opterr = 0;
    for (;;) {
        const int id = getopt_long(argc, argv, ":", LONG_OPTIONS, nullptr);
        if (id == -1) break;
        const char* arg = optarg;
        switch (id) {
            case OPT_RESOURCE:
                o.resource = arg;
                break;
            case OPT_FREQUENCY: {
                double v = 0.0;
                if (!parseDouble(arg, &v) || v <= 0.0) {
                    *error = bad("frequency", arg, "a frequency in Hz above 0");
                    return ParseResult::Error;
                }
                o.frequencyHz = v;
                break;
            }
            case OPT_LEVEL: {
                double v = 0.0;
                if (!parseDouble(arg, &v)) {
                    *error = bad("level", arg, "a level in dBm");
                    return ParseResult::Error;
                }
                o.levelDbm = v;
                break;
            }
            case OPT_INPUT:
                if (std::strcmp(arg, "rf") == 0) {
                    o.inputSource = 1;
                } else if (std::strcmp(arg, "if") == 0) {
                    o.inputSource = 0;
                } else {
                    *error = bad("input", arg, "rf or if");
                    return ParseResult::Error;
                }
                break;
            case OPT_LO:
                if (std::strcmp(arg, "above") == 0) {
                    o.loAbove = true;
                } else if (std::strcmp(arg, "below") == 0) {
                    o.loAbove = false;
                } else {
                    *error = bad("lo", arg, "above or below");
                    return ParseResult::Error;
                }
                break;
            case OPT_IF:
                o.iq = false;
                break;
            case OPT_IQ:
                o.iq = true;
                break;
            case OPT_BITS:
                if (std::strcmp(arg, "16") == 0) {
                    o.bits = 16;
                } else if (std::strcmp(arg, "32") == 0) {
                    o.bits = 32;
                } else {
                    *error = bad("bits", arg, "16 or 32");
                    return ParseResult::Error;
                }
                break;
            case OPT_DECIMATION: {
                uint32_t v = 0;
                if (!parseCount(arg, &v)) {
                    *error = bad("decimation", arg, "a whole ratio of 1 or more");
                    return ParseResult::Error;
                }
                o.decimation = v;
                break;
            }
            case OPT_SAMPLES: {
                uint32_t v = 0;
                if (!parseCount(arg, &v)) {
                    *error = bad("samples", arg, "a sample count from 1 to 4294967295");
                    return ParseResult::Error;
                }
                o.samples = v;
                break;
            }
            case OPT_TRIGGER:
                if (!parseTrigger(arg, &o.triggerSource)) {
                    *error = bad("trigger", arg,
                                 "software, timer, internal, smb, pxi_star, pxi_trig0-7, pxi_lbl0-12, "
                                 "lvds_marker1-4, lvds_aux0-4 or lvds_spare");
                    return ParseResult::Error;
                }
                o.triggerName = arg;
                triggerGiven = true;
                break;
            case OPT_TIMEOUT: {
                double v = 0.0;
                if (!parseDouble(arg, &v) || v <= 0.0) {
                    *error = bad("timeout", arg, "seconds above 0");
                    return ParseResult::Error;
                }
                o.timeoutS = v;
                timeoutGiven = true;
                break;
            }
            case OPT_FORMAT: {
                bool found = false;
                for (const FormatEntry& f : FORMATS) {
                    if (std::strcmp(arg, f.name) == 0) {
                        o.format = f.format;
                        found = true;
                    }
                }
                if (!found) {
                    *error = bad("format", arg, "sigmf, decimal, float-text, csv, raw or float-binary");
                    return ParseResult::Error;
                }
                break;
            }
            case OPT_OUTPUT:
                o.output = arg;
                break;
            case OPT_HELP:
                return ParseResult::Help;
            case OPT_VERSION:
                return ParseResult::Version;
            case ':':
                *error = std::string("option ") + argv[optind - 1] + " needs a value";
                return ParseResult::Error;
            default:
                // In a cluster of short options ("-xy") optind still points at the cluster: name the
                // letter itself.
                *error = optopt != 0 && optopt < 256
                             ? std::string("unknown option -") + static_cast<char>(optopt)
                             : std::string("unknown option ") + argv[optind - 1];
                return ParseResult::Error;
        }
    }
    if (optind < argc) {
        *error = std::string("unexpected argument '") + argv[optind] + "'";
        return ParseResult::Error;
    }
    if (o.output.empty()) {
        *error = "no output given: use --output NAME";
        return ParseResult::Error;
    }
    if (!o.iq && o.bits == 32) {
        *error = "IF samples are 16-bit words: --bits 32 needs --iq";
        return ParseResult::Error;
    }
    if (!o.iq && formatNeedsIq(o.format)) {
        *error = std::string("the ") + formatName(o.format) + " format holds I/Q pairs: it needs --iq";
        return ParseResult::Error;
    }
    if (timeoutGiven && (!triggerGiven || o.triggerSource == 32)) {
        *error = "--timeout applies to a trigger line: give --trigger with a line";
        return ParseResult::Error;
    }
    *out = o;
    return ParseResult::Run;
}

std::string usageText() {
    return "Usage: qm4120_capture [OPTION]... --output NAME\n"
           "Boots a QM4120 module with its default configuration, captures one block of samples and\n"
           "writes it as a SigMF recording (NAME.sigmf-data and NAME.sigmf-meta) or in a capture file\n"
           "format (NAME as given).\n"
           "\n"
           "Module:\n"
           "  --resource MODEL      module to open, \"0x\" and its model code (default 0x4120)\n"
           "  --frequency HZ        RF frequency in Hz\n"
           "  --level DBM           largest input level expected, in dBm (sets the attenuation)\n"
           "  --input rf|if         input the samples come from (default: the module's, rf)\n"
           "  --lo above|below      side of the RF frequency the LO sits on\n"
           "Samples:\n"
           "  --iq                  I/Q samples (the default)\n"
           "  --if                  real IF samples at the ADC clock\n"
           "  --bits 16|32          I/Q word width (default 16)\n"
           "  --decimation N        decimation ratio of the current modulation filter chain\n"
           "  --samples N           number of samples (the module rounds down to its step)\n"
           "Trigger:\n"
           "  --trigger SOURCE      software (default), timer, internal, smb, pxi_star, pxi_trig0-7,\n"
           "                        pxi_lbl0-12, lvds_marker1-4, lvds_aux0-4, lvds_spare\n"
           "  --timeout SECONDS     how long to wait for a trigger line (default 10)\n"
           "Output:\n"
           "  --format FORMAT       sigmf (default), decimal, float-text, csv, raw, float-binary\n"
           "  --output NAME         recording or file to write\n"
           "  --help                show this text and exit\n"
           "  --version             show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when the module or the output fails, 2 for a bad command line,\n"
           "130 when interrupted. An interrupted or failed capture leaves no output behind.\n";
}

}  // namespace qm::recorder
