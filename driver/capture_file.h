// Writing captured values to a file in the capture formats: text is formatted into a large block and
// written a block at a time. Where the float formats and 32-bit decimal text have no vector writer they
// are formatted on two threads, and each full block is written by a third while the next one fills;
// other text is formatted and written by the calling thread, and binary data go out as they are.
// Every failure becomes a status; a write that does not take all its bytes is a failure, never a shorter
// file.
#ifndef QM4120_DRIVER_CAPTURE_FILE_H
#define QM4120_DRIVER_CAPTURE_FILE_H

#include <cstddef>
#include <cstdint>
#include <future>
#include <vector>

namespace qm::driver {

// Writes `value` as printf's "%f" writes a float promoted to double (six digits after the point, the
// exact value rounded to nearest, ties to even) and returns the end. Needs up to 64 characters.
char* formatFixed6(char* p, float value);

// Writes the "%f" lines of `samples` I/Q pairs, `between` I and Q and a line end after, and returns the
// end; FIXED_PAIR_LINE_BYTES of room a sample. fixedPairLines takes the fastest writer this machine runs;
// the scalar writer looks up the values of 16-bit words in a table.
char* fixedPairLines(char* p, const float* i, const float* q, size_t samples, char between);
char* fixedPairLinesScalar(char* p, const float* i, const float* q, size_t samples, char between);

class CaptureFile {
  public:
    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    // Creates or truncates `path`: 0, QM4120_ERROR_CAPTURE_FILE when it cannot be opened, or
    // QM4120_ERROR_ALLOC when the blocks cannot be had (the file is then left empty).
    int32_t open(const char* path);

    // Formats, each returning 0 or QM4120_ERROR_CAPTURE_WRITE. After a failure later writes do nothing.
    int32_t decimal(const int16_t* words, size_t count);
    int32_t decimal(const int32_t* words, size_t count);
    int32_t floatLines(const float* i, const float* q, size_t samples);
    int32_t csv(const float* i, const float* q, size_t samples);
    int32_t raw(const int16_t* words, size_t count);
    int32_t raw(const int32_t* words, size_t count);
    int32_t floatPairs(const float* i, const float* q, size_t samples);

    // Writes what is buffered and closes; the first failure of the file's life, or 0.
    int32_t close();

  private:
    template <class Format>
    // format(p, k) writes line k at p and returns its end; it may write up to `lineMax` bytes from p.
    int32_t lines(size_t count, size_t lineMax, Format&& format);
    template <class FormatRun>
    // formatRun(p, from, to) writes lines from to to - 1 at p and returns their end; it may write up to
    // `lineMax` bytes a line from p.
    int32_t runs(size_t count, size_t lineMax, FormatRun&& formatRun);
    // I and Q of each sample in "%f" text, `between` them and a line end after.
    int32_t fixedPairs(const float* i, const float* q, size_t samples, char between);
    char* reserve(size_t bytes);  // room for at least `bytes` more in the block
    bool flush();
    bool writeAll(const void* data, size_t bytes);  // after what is pending, in this thread
    void finishPending();                           // waits for the block being written

    int fd_ = -1;
    bool failed_ = false;
    std::vector<char> block_;  // being filled
    std::vector<char> spare_;  // being written while block_ fills
    std::vector<char> side_;   // the later half of a run of lines, formatted by a helper thread
    std::future<bool> pending_;
    bool overlap_ = false;  // full blocks go to a helper thread
    size_t used_ = 0;
};

}  // namespace qm::driver

#endif
