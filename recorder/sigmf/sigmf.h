// SigMF recordings of a capture: the metadata document and the sample words of the data file. Shared by
// the command-line recorder and the panel, which writes metadata beside its binary data files.
#ifndef QM4120_SIGMF_SIGMF_H
#define QM4120_SIGMF_SIGMF_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "module_state.h"

namespace qm::sigmf {

// Everything the metadata tells about one recording.
struct Recording {
    std::string recorder;  // the program that wrote it, with its version
    std::string resource;
    std::string triggerName;  // empty: only the trigger source code is given
    Identity identity;
    Applied applied;
    uint32_t samples = 0;  // samples in the data file
    std::string datetime;  // UTC, ISO 8601, when the capture was armed; empty when not known
    // True when the data file holds each I/Q pair Q first (the recorder sets a mirrored band upright).
    bool pairsExchanged = false;
    // Name of the data file when it is not NAME.sigmf-data beside NAME.sigmf-meta; empty otherwise.
    std::string dataset;
};

// SigMF datatype of the module's words: real 16-bit for IF samples, complex 16- or 32-bit for I/Q.
std::string sigmfDatatype(const Applied& applied);

// Frequency at the centre of the recorded band: the RF frequency on the RF input, the IF centre on the
// IF input.
double centreFrequency(const Applied& applied);

// True when the module delivers the I/Q band mirrored about its centre, so that the recording must
// exchange I and Q to put positive frequencies above the centre frequency. On the RF input the module
// itself undoes the mirroring of an LO above the RF frequency, so either LO side gives an upright band;
// the band of the IF input comes out mirrored about the IF centre, and a negated phase word mirrors
// the band once more.
bool spectrumMirrored(const Applied& applied);

// The .sigmf-meta document, pretty-printed JSON.
std::string sigmfMeta(const Recording& recording);

// Appends `count` words to `file` little-endian. With `swapPairs` each I/Q pair is written Q first:
// x = I + jQ becomes Q + jI = j conj(x), the mirrored band with a fixed quarter turn of phase, and no
// word overflows as a negation of the most negative value would. False when the file cannot be written.
bool writeWords16(std::FILE* file, const int16_t* words, size_t count, bool swapPairs);
bool writeWords32(std::FILE* file, const int32_t* words, size_t count, bool swapPairs);

// Where the metadata of the data file `dataPath` goes: NAME.sigmf-meta for NAME.sigmf-data, else the
// data file's whole name with ".sigmf-meta" appended. `dataset` gets the data file's name in the second
// case (the metadata must name a data file that does not follow the pattern) and is cleared otherwise.
std::string metaPathBeside(const std::string& dataPath, std::string* dataset);

// Current UTC time in ISO 8601 with milliseconds, as SigMF dates are written.
std::string utcNow();

}  // namespace qm::sigmf

#endif
