// The capture engine: one capture call pair of the instrument library per block, the I/Q split and
// scaling, and the capture file operations built on them.

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "capture_file.h"
#include "qm4120.h"
#include "qm4120_pb_lib.h"

namespace {

using qm::driver::CaptureFile;

constexpr double SCALE16 = 32768.0;
constexpr double SCALE32 = 2147483648.0;
constexpr uint32_t MAX_LIBRARY_WORDS = 0xFFFFFFFFu;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Buffer = std::unique_ptr<T[], FreeDeleter>;

uint64_t physicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return UINT64_MAX;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

// A buffer of `count` entries, or null. A buffer larger than the machine's memory is refused at once
// rather than promised by the system and failing when it is touched.
template <class T>
Buffer<T> allocate(uint64_t count) {
    const uint64_t bytes = count * sizeof(T);
    if (count > UINT64_MAX / sizeof(T) || bytes > physicalMemoryBytes()) return Buffer<T>();
    return Buffer<T>(static_cast<T*>(std::malloc(bytes == 0 ? 1 : bytes)));
}

// One block of `words` library words into `buffer`.
int32_t captureWords(uint32_t vi, uint32_t words, void* buffer) {
    int32_t status = qm4120_dll_error(qm4120_controlDataCapture(vi, 0, words));
    if (status < 0) return status;
    status = qm4120_dll_error(qm4120_controlDataAcquire(vi, 0, words, buffer));
    return status < 0 ? status : 0;
}

// The IQ capture's raw buffers, one per word width, reallocated at each capture's size.
std::mutex rawMutex;
Buffer<int16_t> raw16;
Buffer<int32_t> raw32;

template <class T>
void split(const T* raw, uint32_t samples, double scale, float* i, float* q) {
    for (uint32_t k = 0; k < samples; ++k) {
        i[k] = static_cast<float>(raw[2 * k] / scale);
        q[k] = static_cast<float>(raw[2 * k + 1] / scale);
    }
}

// The common road of every file operation: open, capture, write what was captured, close. The capture
// runs only when the file could be opened; a failed capture leaves the file empty; a failed write is
// the result when the capture succeeded.
template <class Capture, class Write>
int32_t toFile(const char* fileName, Capture&& capture, Write&& write) {
    CaptureFile file;
    if (const int32_t opened = file.open(fileName); opened < 0) return opened;
    const int32_t status = capture();
    if (status < 0) return status;
    const int32_t written = write(file);
    const int32_t closed = file.close();
    if (written < 0) return written;
    return closed < 0 ? closed : status;
}

// Forms that allocate their own buffer of `count` words of T; a count above `maxCount` is a block the
// library cannot count, whose buffer cannot be had either.
template <class T, class Capture, class Write>
int32_t allocatedToFile(const char* fileName, uint32_t count, uint32_t maxCount, Capture&& capture,
                        Write&& write) {
    CaptureFile file;
    if (const int32_t opened = file.open(fileName); opened < 0) return opened;
    Buffer<T> buffer = count <= maxCount ? allocate<T>(count) : Buffer<T>();
    if (!buffer) return QM4120_ERROR_ALLOC;
    const int32_t status = capture(buffer.get());
    if (status < 0) return status;
    const int32_t written = write(file, buffer.get());
    const int32_t closed = file.close();
    if (written < 0) return written;
    return closed < 0 ? closed : status;
}

int32_t iqAllocatedToFile(uint32_t vi, uint32_t samples, const char* fileName,
                          int32_t (CaptureFile::*write)(const float*, const float*, size_t)) {
    CaptureFile file;
    if (const int32_t opened = file.open(fileName); opened < 0) return opened;
    Buffer<float> i = allocate<float>(samples);
    Buffer<float> q = allocate<float>(samples);
    if (!i || !q) return QM4120_ERROR_ALLOC;
    const int32_t status = qm4120_captMemIq(vi, samples, i.get(), q.get());
    if (status < 0) return status;
    const int32_t written = (file.*write)(i.get(), q.get(), samples);
    const int32_t closed = file.close();
    if (written < 0) return written;
    return closed < 0 ? closed : status;
}

int32_t iqMemToFile(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName,
                    int32_t (CaptureFile::*write)(const float*, const float*, size_t)) {
    return toFile(
        fileName, [&] { return qm4120_captMemIq(vi, samples, i, q); },
        [&](CaptureFile& f) { return (f.*write)(i, q, samples); });
}

}  // namespace

extern "C" {

int32_t qm4120_captMem(uint32_t vi, uint32_t count, int16_t* buffer) {
    return captureWords(vi, count, buffer);
}

int32_t qm4120_captMem32(uint32_t vi, uint32_t count, int32_t* buffer) {
    if (count > MAX_LIBRARY_WORDS / 2) return QM4120_ERROR_PARAMETER1 + 1;
    return captureWords(vi, 2 * count, buffer);
}

int32_t qm4120_captMemIf(uint32_t vi, uint32_t count, int16_t* buffer) {
    return qm4120_captMem(vi, count, buffer);
}

int32_t qm4120_captMemIq(uint32_t vi, uint32_t samples, float* i, float* q) {
    if (samples > 0 && i == nullptr) return QM4120_ERROR_PARAMETER1 + 2;
    if (samples > 0 && q == nullptr) return QM4120_ERROR_PARAMETER1 + 3;
    uint16_t format = 0;
    int32_t status = qm4120_getSampleDataOutputFormat(vi, &format);
    if (status < 0) return status;
    const uint64_t values = 2 * static_cast<uint64_t>(samples);
    std::lock_guard<std::mutex> lock(rawMutex);
    if (format != 0) {
        raw32.reset();
        // Each 32-bit value is two library words; a block the library cannot count is a buffer that
        // cannot be had.
        if (values > MAX_LIBRARY_WORDS / 2 || !(raw32 = allocate<int32_t>(values))) return QM4120_ERROR_ALLOC;
        status = qm4120_captMem32(vi, static_cast<uint32_t>(values), raw32.get());
        if (status < 0) return status;
        split(raw32.get(), samples, SCALE32, i, q);
    } else {
        raw16.reset();
        if (values > MAX_LIBRARY_WORDS || !(raw16 = allocate<int16_t>(values))) return QM4120_ERROR_ALLOC;
        status = qm4120_captMem(vi, static_cast<uint32_t>(values), raw16.get());
        if (status < 0) return status;
        split(raw16.get(), samples, SCALE16, i, q);
    }
    return 0;
}

int32_t qm4120_captAbort(uint32_t vi) {
    return qm4120_dll_error(qm4120_controlCaptureAbort(vi));
}

int32_t qm4120_clearAfterRepeatCapt(uint32_t vi) {
    return qm4120_dll_error(qm4120_controlClearAfterRepeatCapt(vi));
}

int32_t qm4120_setCaptureMode(uint32_t vi, uint16_t mode) {
    return qm4120_dll_error(qm4120_controlSetCaptureMode(vi, mode));
}

int32_t qm4120_getCaptureMode(uint32_t vi, uint16_t* mode) {
    return qm4120_dll_error(qm4120_controlGetCaptureMode(vi, mode));
}

// ---- Decimal text ----

int32_t qm4120_captMemAscFile(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName) {
    return toFile(
        fileName, [&] { return qm4120_captMem(vi, count, buffer); },
        [&](CaptureFile& f) { return f.decimal(buffer, count); });
}

int32_t qm4120_captAscFile(uint32_t vi, uint32_t count, const char* fileName) {
    return allocatedToFile<int16_t>(
        fileName, count, MAX_LIBRARY_WORDS, [&](int16_t* b) { return qm4120_captMem(vi, count, b); },
        [&](CaptureFile& f, int16_t* b) { return f.decimal(b, count); });
}

int32_t qm4120_captMemAscFile32(uint32_t vi, uint32_t count, int32_t* buffer, const char* fileName) {
    return toFile(
        fileName, [&] { return qm4120_captMem32(vi, count, buffer); },
        [&](CaptureFile& f) { return f.decimal(buffer, count); });
}

int32_t qm4120_captAscFile32(uint32_t vi, uint32_t count, const char* fileName) {
    return allocatedToFile<int32_t>(
        fileName, count, MAX_LIBRARY_WORDS / 2, [&](int32_t* b) { return qm4120_captMem32(vi, count, b); },
        [&](CaptureFile& f, int32_t* b) { return f.decimal(b, count); });
}

int32_t qm4120_captMemAscFileIf(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName) {
    return qm4120_captMemAscFile(vi, count, buffer, fileName);
}

int32_t qm4120_captAscFileIf(uint32_t vi, uint32_t count, const char* fileName) {
    return qm4120_captAscFile(vi, count, fileName);
}

// ---- Floating-point and comma-separated text, binary floats ----

int32_t qm4120_captAscFileIq(uint32_t vi, uint32_t samples, const char* fileName) {
    return iqAllocatedToFile(vi, samples, fileName, &CaptureFile::floatLines);
}

int32_t qm4120_captMemAscFileIq(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName) {
    return iqMemToFile(vi, samples, i, q, fileName, &CaptureFile::floatLines);
}

int32_t qm4120_captAscCsvFileIq(uint32_t vi, uint32_t samples, const char* fileName) {
    return iqAllocatedToFile(vi, samples, fileName, &CaptureFile::csv);
}

int32_t qm4120_captMemAscCsvFileIq(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName) {
    return iqMemToFile(vi, samples, i, q, fileName, &CaptureFile::csv);
}

int32_t qm4120_captBinFileIq(uint32_t vi, uint32_t samples, const char* fileName) {
    return iqAllocatedToFile(vi, samples, fileName, &CaptureFile::floatPairs);
}

int32_t qm4120_captMemBinFileIq(uint32_t vi, uint32_t samples, float* i, float* q, const char* fileName) {
    return iqMemToFile(vi, samples, i, q, fileName, &CaptureFile::floatPairs);
}

// ---- Raw binary ----

int32_t qm4120_captMemBinFile(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName) {
    return toFile(
        fileName, [&] { return qm4120_captMem(vi, count, buffer); },
        [&](CaptureFile& f) { return f.raw(buffer, count); });
}

int32_t qm4120_captBinFile(uint32_t vi, uint32_t count, const char* fileName) {
    return allocatedToFile<int16_t>(
        fileName, count, MAX_LIBRARY_WORDS, [&](int16_t* b) { return qm4120_captMem(vi, count, b); },
        [&](CaptureFile& f, int16_t* b) { return f.raw(b, count); });
}

int32_t qm4120_captMemBinFile32(uint32_t vi, uint32_t count, int32_t* buffer, const char* fileName) {
    return toFile(
        fileName, [&] { return qm4120_captMem32(vi, count, buffer); },
        [&](CaptureFile& f) { return f.raw(buffer, count); });
}

int32_t qm4120_captBinFile32(uint32_t vi, uint32_t count, const char* fileName) {
    return allocatedToFile<int32_t>(
        fileName, count, MAX_LIBRARY_WORDS / 2, [&](int32_t* b) { return qm4120_captMem32(vi, count, b); },
        [&](CaptureFile& f, int32_t* b) { return f.raw(b, count); });
}

int32_t qm4120_captMemBinFileIf(uint32_t vi, uint32_t count, int16_t* buffer, const char* fileName) {
    return qm4120_captMemBinFile(vi, count, buffer, fileName);
}

int32_t qm4120_captBinFileIf(uint32_t vi, uint32_t count, const char* fileName) {
    return qm4120_captBinFile(vi, count, fileName);
}

}  // extern "C"
