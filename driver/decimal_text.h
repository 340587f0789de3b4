// Decimal text of 32-bit words, one value per line exactly as printf's "%d\n" writes it: the scalar
// formatter of one value and the line writers of whole runs, with a vector version for machines that have
// it and the pick between them, made once per process.
#ifndef QM4120_DRIVER_DECIMAL_TEXT_H
#define QM4120_DRIVER_DECIMAL_TEXT_H

#include <cstddef>
#include <cstdint>

namespace qm::driver {

// "00" to "99": two digits per table look-up, and per division by 100.
inline constexpr char DIGIT_PAIRS[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Longest line: "-2147483648\n". The run writers need this much room per word and write nothing past it.
constexpr size_t DECIMAL32_LINE_BYTES = 12;

// Writes `value` in decimal, as printf's "%d" does, and returns the end. Needs up to 11 characters.
char* formatInt32(char* p, int32_t value);

// Write the lines of `count` words at p and return the end of the text; they need
// DECIMAL32_LINE_BYTES * count bytes of room. decimalLines32 takes the fastest writer this machine runs.
char* decimalLines32(char* p, const int32_t* words, size_t count);
char* decimalLines32Scalar(char* p, const int32_t* words, size_t count);
// The AVX2 writer, eight words at a time; only to be called where avx2DecimalLines() is true.
char* decimalLines32Avx2(char* p, const int32_t* words, size_t count);
bool avx2DecimalLines();

}  // namespace qm::driver

#endif
