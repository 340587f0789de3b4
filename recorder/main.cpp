// qm4120_capture: records one block of samples from a QM4120 module as a SigMF recording or in one of
// the driver's capture file formats. Output goes to temporary files beside the final ones and is renamed
// into place only once complete, so a failed or interrupted capture leaves nothing behind.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "module.h"
#include "options.h"
#include "qm4120.h"
#include "sigmf.h"

#ifndef QM4120_CAPTURE_VERSION
#define QM4120_CAPTURE_VERSION "0"
#endif

namespace {

using namespace qm::recorder;
using namespace qm::sigmf;

constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_INTERRUPTED = 130;

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) {
    interrupted = 1;
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A file being written under a temporary name; removed unless committed.
class PendingFile {
  public:
    explicit PendingFile(std::string finalName) : final_(std::move(finalName)), temp_(final_ + ".part") {}
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (file_) std::fclose(file_);
        if (created_ && !committed_) std::remove(temp_.c_str());
    }

    // Creates the temporary file, so an unwritable place is found before the module is touched.
    bool create(std::string* error) {
        file_ = std::fopen(temp_.c_str(), "wb");
        if (!file_) {
            *error = "cannot write " + final_ + ": " + std::strerror(errno);
            return false;
        }
        created_ = true;
        return true;
    }
    std::FILE* file() const { return file_; }
    const std::string& tempName() const { return temp_; }
    const std::string& finalName() const { return final_; }

    bool close(std::string* error) {
        const bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!ok) *error = "cannot write " + final_ + ": " + std::strerror(errno);
        return ok;
    }
    bool commit(std::string* error) {
        if (std::rename(temp_.c_str(), final_.c_str()) != 0) {
            *error = "cannot write " + final_ + ": " + std::strerror(errno);
            return false;
        }
        committed_ = true;
        return true;
    }
    // Takes a committed file away again (the second file of a recording could not be committed).
    void withdraw() {
        if (committed_) std::remove(final_.c_str());
        committed_ = false;
    }

  private:
    std::string final_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool created_ = false;
    bool committed_ = false;
};

int fail(const std::string& message) {
    std::fprintf(stderr, "qm4120_capture: %s\n", message.c_str());
    return EXIT_FAILED;
}

int failModule(const Module& module, const Failure& failure) {
    if (failure.status == 0) return fail(failure.what);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(failure.status));
    return fail(failure.what + ": " + module.statusText(failure.status) + " (status " + code + ")");
}

// Fetches the captured block and writes it as SigMF data words.
bool writeSigmfData(const Module& module, const Applied& a, uint32_t samples, std::FILE* file,
                    Failure* failure, std::string* error) {
    const uint32_t vi = module.session();
    const bool mirrored = spectrumMirrored(a);
    if (a.sampleDataType == 0 || a.outputFormat == 0) {
        const size_t words = a.sampleDataType == 0 ? samples : 2 * size_t{samples};
        std::unique_ptr<int16_t[]> buffer(new (std::nothrow) int16_t[words]);
        if (!buffer) {
            *error = "not enough memory for " + std::to_string(samples) + " samples";
            return false;
        }
        const int32_t status = a.sampleDataType == 0
                                   ? qm4120_captMemIf(vi, static_cast<uint32_t>(words), buffer.get())
                                   : qm4120_captMem(vi, static_cast<uint32_t>(words), buffer.get());
        if (status < 0) {
            *failure = Failure{"fetching the samples", status};
            return false;
        }
        if (!writeWords16(file, buffer.get(), words, mirrored)) {
            *error = std::string("cannot write the recording's data: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    const size_t words = 2 * size_t{samples};
    std::unique_ptr<int32_t[]> buffer(new (std::nothrow) int32_t[words]);
    if (!buffer) {
        *error = "not enough memory for " + std::to_string(samples) + " samples";
        return false;
    }
    const int32_t status = qm4120_captMem32(vi, static_cast<uint32_t>(words), buffer.get());
    if (status < 0) {
        *failure = Failure{"fetching the samples", status};
        return false;
    }
    if (!writeWords32(file, buffer.get(), words, mirrored)) {
        *error = std::string("cannot write the recording's data: ") + std::strerror(errno);
        return false;
    }
    return true;
}

// Fetches the captured block into a capture file of the driver's formats.
int32_t writeCaptureFile(uint32_t vi, FileFormat format, const Applied& a, uint32_t samples,
                         const char* path) {
    const bool ifData = a.sampleDataType == 0;
    const bool wide = !ifData && a.outputFormat != 0;
    const uint32_t words = ifData ? samples : 2 * samples;
    switch (format) {
        case FileFormat::Decimal:
            return ifData
                       ? qm4120_captAscFileIf(vi, words, path)
                       : (wide ? qm4120_captAscFile32(vi, words, path) : qm4120_captAscFile(vi, words, path));
        case FileFormat::Raw:
            return ifData
                       ? qm4120_captBinFileIf(vi, words, path)
                       : (wide ? qm4120_captBinFile32(vi, words, path) : qm4120_captBinFile(vi, words, path));
        case FileFormat::FloatText:
            return qm4120_captAscFileIq(vi, samples, path);
        case FileFormat::Csv:
            return qm4120_captAscCsvFileIq(vi, samples, path);
        case FileFormat::FloatBinary:
            return qm4120_captBinFileIq(vi, samples, path);
        case FileFormat::SigMF:
            break;
    }
    return QM4120_ERROR_PARAMETER2;
}

int run(const Options& o) {
    std::string error;
    const bool sigmf = o.format == FileFormat::SigMF;
    // A recording's name may be given with any of its suffixes.
    std::string base = o.output;
    for (const char* suffix : {".sigmf-data", ".sigmf-meta", ".sigmf"}) {
        if (sigmf && endsWith(base, suffix)) base.resize(base.size() - std::strlen(suffix));
    }
    PendingFile data(sigmf ? base + ".sigmf-data" : o.output);
    std::unique_ptr<PendingFile> meta;
    if (!data.create(&error)) return fail(error);
    if (sigmf) {
        meta = std::make_unique<PendingFile>(base + ".sigmf-meta");
        if (!meta->create(&error)) return fail(error);
    } else if (!data.close(&error)) {
        // The driver writes the file itself.
        return fail(error);
    }

    Module module;
    Failure failure;
    Recording recording;
    recording.recorder = std::string("qm4120_capture ") + QM4120_CAPTURE_VERSION;
    recording.resource = o.resource;
    recording.triggerName = o.triggerName;
    if (!module.open(o.resource, &failure) || !module.identify(&recording.identity, &failure) ||
        !module.configure(o, &failure) || !module.readApplied(&recording.applied, &failure)) {
        return failModule(module, failure);
    }
    const Applied& a = recording.applied;
    recording.datetime = utcNow();
    uint32_t captured = 0;
    if (!module.capture(a, o.triggerName, o.timeoutS, &interrupted, &captured, &failure)) {
        if (interrupted) {
            std::fprintf(stderr, "qm4120_capture: interrupted, capture aborted\n");
            return EXIT_INTERRUPTED;
        }
        return failModule(module, failure);
    }
    if (captured == 0) return fail("the capture holds no samples");
    if (captured < a.samples) {
        std::fprintf(stderr, "qm4120_capture: warning: the capture ended early with %u of %u samples\n",
                     captured, a.samples);
    }
    recording.samples = captured;
    // A SigMF recording sets a mirrored band upright by exchanging I and Q.
    recording.pairsExchanged = sigmf && spectrumMirrored(a);

    if (sigmf) {
        if (!writeSigmfData(module, a, captured, data.file(), &failure, &error)) {
            return error.empty() ? failModule(module, failure) : fail(error);
        }
        const std::string text = sigmfMeta(recording);
        if (std::fwrite(text.data(), 1, text.size(), meta->file()) != text.size()) {
            return fail("cannot write " + meta->finalName() + ": " + std::strerror(errno));
        }
        if (!data.close(&error) || !meta->close(&error)) return fail(error);
    } else {
        const int32_t status =
            writeCaptureFile(module.session(), o.format, a, captured, data.tempName().c_str());
        if (status < 0) return failModule(module, Failure{"writing " + data.finalName(), status});
    }
    if (interrupted) {
        std::fprintf(stderr, "qm4120_capture: interrupted, nothing written\n");
        return EXIT_INTERRUPTED;
    }
    // The data first, then the metadata that makes it a recording.
    if (!data.commit(&error)) return fail(error);
    if (meta && !meta->commit(&error)) {
        data.withdraw();
        return fail(error);
    }
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    switch (parseOptions(argc, argv, &options, &error)) {
        case ParseResult::Help:
            std::fputs(usageText().c_str(), stdout);
            return EXIT_SUCCESS;
        case ParseResult::Version:
            std::printf("qm4120_capture %s\ndriver %s\n", QM4120_CAPTURE_VERSION, QM4120_DRIVER_REVISION);
            return EXIT_SUCCESS;
        case ParseResult::Error:
            std::fprintf(stderr, "qm4120_capture: %s\nTry 'qm4120_capture --help' for more information.\n",
                         error.c_str());
            return EXIT_USAGE;
        case ParseResult::Run:
            break;
    }
    installSignalHandlers();
    return run(options);
}
