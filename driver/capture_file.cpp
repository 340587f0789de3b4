// Capture file writer. Text lines are formatted with std::to_chars straight into a 1 MiB block that is
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
#include <limits>
#include <vector>

#include "qm4120.h"

namespace qm::driver {

namespace {

constexpr size_t BLOCK_BYTES = 1 << 20;
// Below this magnitude a float times a million fits a 64-bit integer exactly: the fast road of
// formatFixed6 takes it.
constexpr float FIXED6_FAST_LIMIT = 2147483648.0f;
// Longest line of any format: "-2147483648\n", or "%f,%f\n" of two values below 1 in magnitude (a
// float of any size takes up to 47 characters in fixed notation; allow for both).
constexpr size_t LINE_MAX_BYTES = 128;

char* fixed6(char* p, float value) {
    return formatFixed6(p, value);
}

}  // namespace

char* formatInt32(char* p, int32_t value) {
    // Four digits at a time from a table of "0000" to "9999", written backwards into a small buffer.
    static const std::vector<char> quads = [] {
        std::vector<char> t(40000);
        for (int v = 0; v < 10000; ++v) {
            t[4 * v] = static_cast<char>('0' + v / 1000);
            t[4 * v + 1] = static_cast<char>('0' + v / 100 % 10);
            t[4 * v + 2] = static_cast<char>('0' + v / 10 % 10);
            t[4 * v + 3] = static_cast<char>('0' + v % 10);
        }
        return t;
    }();
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    char buffer[12];
    char* const end = buffer + sizeof buffer;
    char* first = end;
    while (magnitude >= 10000) {
        first -= 4;
        std::memcpy(first, &quads[4 * (magnitude % 10000)], 4);
        magnitude /= 10000;
    }
    // The leading group without its leading zeros.
    const int digits = magnitude >= 1000 ? 4 : magnitude >= 100 ? 3 : magnitude >= 10 ? 2 : 1;
    first -= digits;
    std::memcpy(first, &quads[4 * magnitude + 4 - digits], static_cast<size_t>(digits));
    const size_t length = static_cast<size_t>(end - first);
    std::memcpy(p, first, length);
    return p + length;
}

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
    p = std::to_chars(p, p + 24, micro / 1000000).ptr;
    *p++ = '.';
    uint32_t fraction = static_cast<uint32_t>(micro % 1000000);
    for (int digit = 5; digit >= 0; --digit) {
        p[digit] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return p + 6;
}

namespace {

// "-32768\n" is the longest line of a 16-bit word: seven characters and the length fit in 8 bytes.
struct DecimalLine {
    char text[7];
    uint8_t length;
};

const DecimalLine* decimalLines16() {
    static const std::vector<DecimalLine> table = [] {
        std::vector<DecimalLine> t(65536);
        for (uint32_t u = 0; u < 65536; ++u) {
            DecimalLine& line = t[u];
            char* p = std::to_chars(line.text, line.text + 6, static_cast<int16_t>(u)).ptr;
            *p++ = '\n';
            line.length = static_cast<uint8_t>(p - line.text);
        }
        return t;
    }();
    return table.data();
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

CaptureFile::~CaptureFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool CaptureFile::open(const char* path) {
    if (path == nullptr || *path == '\0') return false;
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    block_.resize(BLOCK_BYTES);
    return true;
}

bool CaptureFile::writeAll(const void* data, size_t bytes) {
    const char* p = static_cast<const char*>(data);
    while (bytes > 0 && !failed_) {
        const ssize_t n = ::write(fd_, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;  // ENOSPC (a full disk), EIO, ...: the file would be short
            break;
        }
        p += n;
        bytes -= static_cast<size_t>(n);
    }
    return !failed_;
}

bool CaptureFile::flush() {
    const size_t n = used_;
    used_ = 0;
    return writeAll(block_.data(), n);
}

char* CaptureFile::reserve(size_t bytes) {
    if (block_.size() - used_ < bytes) flush();
    return block_.data() + used_;
}

template <class Format>
int32_t CaptureFile::lines(size_t count, Format&& format) {
    // Lines go into the block in runs that surely fit, so the inner loop has no checks of its own.
    size_t k = 0;
    while (k < count && !failed_) {
        const size_t room = (block_.size() - used_) / LINE_MAX_BYTES;
        if (room == 0) {
            flush();
            continue;
        }
        const size_t end = k + std::min(room, count - k);
        char* p = block_.data() + used_;
        for (; k < end; ++k) p = format(p, k);
        used_ = static_cast<size_t>(p - block_.data());
    }
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

int32_t CaptureFile::decimal(const int16_t* words, size_t count) {
    // Every 16-bit value has its line ready in a table: one 8-byte copy per word.
    const DecimalLine* table = decimalLines16();
    return lines(count, [&](char* p, size_t k) {
        const DecimalLine& line = table[static_cast<uint16_t>(words[k])];
        std::memcpy(p, line.text, sizeof line.text);
        return p + line.length;
    });
}

int32_t CaptureFile::decimal(const int32_t* words, size_t count) {
    return lines(count, [&](char* p, size_t k) {
        p = formatInt32(p, words[k]);
        *p = '\n';
        return p + 1;
    });
}

int32_t CaptureFile::floatLines(const float* i, const float* q, size_t samples) {
    return lines(samples, [&](char* p, size_t k) {
        p = fixed6(p, i[k]);
        *p++ = '\n';
        p = fixed6(p, q[k]);
        *p = '\n';
        return p + 1;
    });
}

int32_t CaptureFile::csv(const float* i, const float* q, size_t samples) {
    return lines(samples, [&](char* p, size_t k) {
        p = fixed6(p, i[k]);
        *p++ = ',';
        p = fixed6(p, q[k]);
        *p = '\n';
        return p + 1;
    });
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
    for (size_t k = 0; k < samples && !failed_; ++k) {
        const uint32_t pair[2] = {littleEndian(std::bit_cast<uint32_t>(i[k])),
                                  littleEndian(std::bit_cast<uint32_t>(q[k]))};
        std::memcpy(reserve(sizeof pair), pair, sizeof pair);
        used_ += sizeof pair;
    }
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

int32_t CaptureFile::close() {
    if (fd_ < 0) return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
    flush();
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return failed_ ? QM4120_ERROR_CAPTURE_WRITE : 0;
}

}  // namespace qm::driver
