// Capture file writer. Text lines are formatted with digit-pair tables straight into a 4 MiB block that is
// written with one system call when full, which keeps text files near the speed of the disk.

#include "capture_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <future>
#include <limits>
#include <new>
#include <vector>

#include "decimal_text.h"
#include "qm4120.h"

namespace qm::driver {

namespace {

// Large enough that a file takes few hand-overs to the writing thread and few system calls.
constexpr size_t BLOCK_BYTES = 4 << 20;
// Below this magnitude a float times a million fits a 64-bit integer exactly: the fast road of
// formatFixed6 takes it.
constexpr float FIXED6_FAST_LIMIT = 2147483648.0f;
// A run shorter than this is formatted in one thread: starting a helper would cost more than it saves.
constexpr size_t SHARED_RUN_MIN_LINES = 16384;

inline void putPair(char* p, uint32_t v) {
    std::memcpy(p, &DIGIT_PAIRS[2 * v], 2);
}

inline int decimalDigits(uint32_t v) {
    int digits = 1;
    for (;;) {
        if (v < 10) return digits;
        if (v < 100) return digits + 1;
        if (v < 1000) return digits + 2;
        if (v < 10000) return digits + 3;
        v /= 10000;
        digits += 4;
    }
}

// Writes v in decimal without leading zeros, back to front from its known length.
inline char* formatUnsigned(char* p, uint32_t v) {
    char* const end = p + decimalDigits(v);
    char* q = end;
    while (v >= 100) {
        q -= 2;
        putPair(q, v % 100);
        v /= 100;
    }
    if (v >= 10)
        putPair(q - 2, v);
    else
        q[-1] = static_cast<char>('0' + v);
    return end;
}

}  // namespace

char* formatFixed6(char* p, float value) {
    if (!(std::fabs(value) < FIXED6_FAST_LIMIT))
        return std::to_chars(p, p + 64, static_cast<double>(value), std::chars_format::fixed, 6).ptr;
    // A float is m * 2^e exactly, so a million times it is m * 15625 * 2^(e + 6): an exact integer
    // rounded to the nearest, ties to even, as the correctly rounded decimal conversion does.
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    const int biased = static_cast<int>((bits >> 23) & 0xFF);
    const uint64_t mantissa = biased ? ((bits & 0x7FFFFF) | 0x800000) : (bits & 0x7FFFFF);
    const int shift = (biased ? biased - 150 : -149) + 6;
    const uint64_t scaled = mantissa * 15625u;
    uint64_t micro = 0;
    if (shift >= 0) {
        micro = scaled << shift;
    } else if (-shift < 63) {
        const int down = -shift;
        micro = scaled >> down;
        const uint64_t rest = scaled & ((uint64_t{1} << down) - 1);
        const uint64_t half = uint64_t{1} << (down - 1);
        if (rest > half || (rest == half && (micro & 1))) ++micro;
    }
    if (bits >> 31) *p++ = '-';
    // Captured samples lie below 1 in magnitude: their whole part is 0 and needs no division. Below
    // the fast limit any whole part fits 32 bits.
    uint32_t fraction = static_cast<uint32_t>(micro);
    if (micro < 1000000) {
        *p++ = '0';
    } else {
        p = formatUnsigned(p, static_cast<uint32_t>(micro / 1000000));
        fraction = static_cast<uint32_t>(micro % 1000000);
    }
    // The six digits as three pairs; the divisions by 10000 and 100 are multiplications by their
    // scaled reciprocals, exact for every fraction below a million.
    const uint32_t high = static_cast<uint32_t>((uint64_t{fraction} * 429497u) >> 32);
    const uint32_t low4 = fraction - high * 10000;
    const uint32_t middle = (low4 * 5243u) >> 19;
    p[0] = '.';
    putPair(p + 1, high);
    putPair(p + 3, middle);
    putPair(p + 5, low4 - middle * 100);
    return p + 7;
}

namespace {

// "-32768\n" is the longest line of a 16-bit word: seven characters and the length fit in 8 bytes.
struct DecimalLine {
    char text[7];
    uint8_t length;
};

// formatFixed6, through the table when the value is one of a 16-bit word's.
inline char* fixed6(char* p, float value, const FixedText* table) {
    if (std::fabs(value) <= 1.0f) {
        const float scaled = value * 32768.0f;  // exact: a power of two
        const auto k = static_cast<int32_t>(scaled);
        // -0.0 has its own text, "-0.000000".
        if (static_cast<float>(k) == scaled && k < 32768 && !(k == 0 && std::signbit(value))) {
            std::memcpy(p, table[k].text, sizeof(FixedText));
            return p + table[k].length;
        }
    }
    return formatFixed6(p, value);
}

}  // namespace

char* fixedPairLinesScalar(char* p, const float* i, const float* q, size_t samples, char between) {
    const FixedText* table = fixedTexts16();
    for (size_t k = 0; k < samples; ++k) {
        p = fixed6(p, i[k], table);
        *p++ = between;
        p = fixed6(p, q[k], table);
        *p++ = '\n';
    }
    return p;
}

char* fixedPairLines(char* p, const float* i, const float* q, size_t samples, char between) {
    return avx2DecimalLines() ? fixedPairLinesAvx2(p, i, q, samples, between)
                              : fixedPairLinesScalar(p, i, q, samples, between);
}

namespace {

struct DecimalLines16 {
    DecimalLine line[65536];
    DecimalLines16() {
        for (uint32_t u = 0; u < 65536; ++u) {
            char* p = std::to_chars(line[u].text, line[u].text + 6, static_cast<int16_t>(u)).ptr;
            *p++ = '\n';
            line[u].length = static_cast<uint8_t>(p - line[u].text);
        }
    }
};

const DecimalLine* decimalLines16() {
    static const DecimalLines16 table;
    return table.line;
}

template <class T>
T littleEndian(T v) {
    if constexpr (std::endian::native == std::endian::little) {
        return v;
    } else {
        T out;
        unsigned char* d = reinterpret_cast<unsigned char*>(&out);
        const unsigned char* s = reinterpret_cast<const unsigned char*>(&v);
        for (size_t k = 0; k < sizeof(T); ++k) d[k] = s[sizeof(T) - 1 - k];
        return out;
    }
}

}  // namespace

namespace {

// Writes all `bytes`, going on after a partial write; false when the system refuses the rest.
bool writeFully(int fd, const char* p, size_t bytes) {
    while (bytes > 0) {
        const ssize_t n = ::write(fd, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // ENOSPC (a full disk), EIO, ...: the file would be short
        p += n;
        bytes -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

CaptureFile::~CaptureFile() {
    finishPending();
    if (fd_ >= 0) ::close(fd_);
}

int32_t CaptureFile::open(const char* path) {
    if (path == nullptr || *path == '\0') return QM4120_ERROR_CAPTURE_FILE;
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return QM4120_ERROR_CAPTURE_FILE;
    try {
        block_.resize(BLOCK_BYTES);
        spare_.resize(BLOCK_BYTES);
    } catch (const std::bad_alloc&) {
        failed_ = true;
        return QM4120_ERROR_ALLOC;
    }
    return 0;
}

void CaptureFile::finishPending() {
    if (pending_.valid() && !pending_.get()) failed_ = true;
}

bool CaptureFile::writeAll(const void* data, size_t bytes) {
    finishPending();
    if (!failed_ && !writeFully(fd_, static_cast<const char*>(data), bytes)) failed_ = true;
    return !failed_;
}

bool CaptureFile::flush() {
    const size_t n = used_;
    used_ = 0;
    if (n == 0) return !failed_;
    finishPending();
    if (failed_) return false;
    // For the formats that take time to format, the full block is written by a helper thread while
    // the next one is formatted here, so the formatting hides behind the system's copy of the data;
    // the two blocks take turns. A format that is mostly copying gains nothing from the hand-over.
    if (!overlap_) return writeAll(block_.data(), n);
    block_.swap(spare_);
    try {
        pending_ = std::async(std::launch::async,
                              [fd = fd_, data = spare_.data(), n] { return writeFully(fd, data, n); });
    } catch (const std::exception&) {
        // No thread to be had: write here and now.
        if (!writeFully(fd_, spare_.data(), n)) failed_ = true;
    }
    return !failed_;
}

char* CaptureFile::reserve(size_t bytes) {
    if (block_.size() - used_ < bytes) flush();
    return block_.data() + used_;
}

template <class Format>
int32_t CaptureFile::lines(size_t count, size_t lineMax, Format&& format) {
    return runs(count, lineMax, [&format](char* p, size_t from, size_t to) {
        for (size_t k = from; k < to; ++k) p = format(p, k);
        return p;
    });
}

template <class FormatRun>
int32_t CaptureFile::runs(size_t count, size_t lineMax, FormatRun&& formatRun) {
    // Lines go into the block in runs that surely fit, so the inner loops have no checks of their own.
    size_t k = 0;
    while (k < count && !failed_) {
        const size_t room = (block_.size() - used_) / lineMax;
        if (room == 0) {
            flush();
            continue;
        }
        const size_t end = k + std::min(room, count - k);
        char* p = block_.data() + used_;
        if (overlap_ && end - k >= SHARED_RUN_MIN_LINES) {
            // The later half of the run is formatted by a helper thread into the side block while this
            // thread formats the earlier half; the side block's text is then put right after it.
            const size_t middle = k + (end - k) / 2;
            std::future<size_t> later;
            try {
                side_.resize(BLOCK_BYTES);
                later = std::async(std::launch::async, [&formatRun, side = side_.data(), middle, end] {
                    return static_cast<size_t>(formatRun(side, middle, end) - side);
                });
            } catch (const std::exception&) {
                // No thread or side block to be had: the whole run is formatted here.
            }
            const size_t mine = later.valid() ? middle : end;
            p = formatRun(p, k, mine);
            k = mine;
            if (later.valid()) {
                const size_t bytes = later.get();
                std::memcpy(p, side_.data(), bytes);
                p += bytes;
                k = end;
            }
        } else {
            p = formatRun(p, k, end);
            k = end;
        }
        used_ = static_cast<size_t>(p - block_.data());
    }
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

int32_t CaptureFile::decimal(const int16_t* words, size_t count) {
    // Every 16-bit value has its line ready in a table: one 8-byte copy per word.
    const DecimalLine* table = decimalLines16();
    return lines(count, sizeof(DecimalLine), [&](char* p, size_t k) {
        const DecimalLine& line = table[static_cast<uint16_t>(words[k])];
        std::memcpy(p, line.text, sizeof line.text);
        return p + line.length;
    });
}

int32_t CaptureFile::decimal(const int32_t* words, size_t count) {
    // The vector writer formats a block in a fraction of the time the block takes to write, so, as with
    // 16-bit words, this thread does both: a helper formatting half of each run, or writing the full
    // blocks, costs more in hand-overs and copies than it saves, and competes for the core. The scalar
    // writer is slow enough to gain from both helpers.
    overlap_ = !avx2DecimalLines();
    return runs(count, DECIMAL32_LINE_BYTES, [words](char* p, size_t from, size_t to) {
        return decimalLines32(p, words + from, to - from);
    });
}

int32_t CaptureFile::fixedPairs(const float* i, const float* q, size_t samples, char between) {
    // With the vector writer this thread formats and writes: on an idle machine the shared runs and the
    // writing thread gained a little (a tenth at most), on a busy one they cost more than half of the
    // speed, as they compete for the cores. The scalar writer gains from both.
    overlap_ = !avx2DecimalLines();
    return runs(samples, FIXED_PAIR_LINE_BYTES, [=](char* p, size_t from, size_t to) {
        return fixedPairLines(p, i + from, q + from, to - from, between);
    });
}

int32_t CaptureFile::floatLines(const float* i, const float* q, size_t samples) {
    return fixedPairs(i, q, samples, '\n');
}

int32_t CaptureFile::csv(const float* i, const float* q, size_t samples) {
    return fixedPairs(i, q, samples, ',');
}

int32_t CaptureFile::raw(const int16_t* words, size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        // The words are already in file order: write them from where they are.
        flush();
        writeAll(words, count * sizeof(int16_t));
    } else {
        for (size_t k = 0; k < count && !failed_; ++k) {
            const int16_t v = littleEndian(words[k]);
            std::memcpy(reserve(sizeof v), &v, sizeof v);
            used_ += sizeof v;
        }
    }
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

int32_t CaptureFile::raw(const int32_t* words, size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        flush();
        writeAll(words, count * sizeof(int32_t));
    } else {
        for (size_t k = 0; k < count && !failed_; ++k) {
            const int32_t v = littleEndian(words[k]);
            std::memcpy(reserve(sizeof v), &v, sizeof v);
            used_ += sizeof v;
        }
    }
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

int32_t CaptureFile::floatPairs(const float* i, const float* q, size_t samples) {
    static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
    return lines(samples, 2 * sizeof(uint32_t), [&](char* p, size_t k) {
        const uint32_t pair[2] = {littleEndian(std::bit_cast<uint32_t>(i[k])),
                                  littleEndian(std::bit_cast<uint32_t>(q[k]))};
        std::memcpy(p, pair, sizeof pair);
        return p + sizeof pair;
    });
}

int32_t CaptureFile::close() {
    if (fd_ < 0) return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
    flush();
    finishPending();
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

}  // namespace qm::driver
