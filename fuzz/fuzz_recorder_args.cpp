// The recorder's command line: the input is split at NUL bytes and line breaks into arguments after the
// program name. Any command line is run, answered with help or version, or refused with a message that
// names what is wrong; a command line that runs holds a usable set of options.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "options.h"

namespace {

constexpr size_t MAX_ARGS = 32;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args{"qm4120_capture"};
    std::string current;
    for (size_t i = 0; i < size && args.size() < MAX_ARGS; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0' || c == '\n') {
            args.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() && args.size() < MAX_ARGS) args.push_back(current);

    // getopt reorders argv: hand it writable copies.
    std::vector<std::vector<char>> storage;
    std::vector<char*> argv;
    for (const std::string& a : args) {
        storage.emplace_back(a.begin(), a.end());
        storage.back().push_back('\0');
    }
    for (auto& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);

    qm::recorder::Options options;
    std::string error;
    const auto result =
        qm::recorder::parseOptions(static_cast<int>(args.size()), argv.data(), &options, &error);
    using qm::recorder::ParseResult;
    if (result == ParseResult::Error) {
        FUZZ_CHECK(!error.empty());
        // The message is about what was typed, never about the program's own name.
        bool typed = false;
        for (size_t i = 1; i < args.size(); ++i) typed = typed || args[i].find(args[0]) != std::string::npos;
        FUZZ_CHECK(typed || error.find(args[0]) == std::string::npos);
        return 0;
    }
    if (result != ParseResult::Run) return 0;
    FUZZ_CHECK(!options.output.empty());
    FUZZ_CHECK(options.bits == 16 || options.bits == 32);
    FUZZ_CHECK(options.iq || (options.bits == 16 && !qm::recorder::formatNeedsIq(options.format)));
    FUZZ_CHECK(options.timeoutS > 0);
    FUZZ_CHECK(!options.frequencyHz || *options.frequencyHz > 0);
    FUZZ_CHECK(!options.samples || *options.samples > 0);
    FUZZ_CHECK(!options.decimation || *options.decimation > 0);
    return 0;
}
