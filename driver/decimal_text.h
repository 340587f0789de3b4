// Decimal text of capture values: 32-bit words one per line exactly as printf's "%d\n" writes them, and
// I/Q floats as "%f" pairs. The scalar formatter of one word and the line writers of whole runs, with
// vector versions for machines that have them and the pick between them, made once per process.
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

// Room a writer of "%f" I/Q lines needs per sample ("%f<between>%f\n"); a float of any size takes up to 47
// characters in fixed notation.
constexpr size_t FIXED_PAIR_LINE_BYTES = 128;

// The "%f" text of every value a 16-bit I/Q word scales to, k / 32768 for k from -32768 to 32767: those
// are the values of most I/Q files, and a table look-up writes each with one 16-byte copy.
struct FixedText {
    char text[15];
    uint8_t length;
};

// The table, indexed by k; made at the first use.
const FixedText* fixedTexts16();

// The AVX2 writer of "%f" I/Q lines, four samples at a time; the I value, `between`, the Q value and a
// line end per sample, exactly as printf writes the floats promoted to double. Needs
// FIXED_PAIR_LINE_BYTES * samples bytes of room; only to be called where avx2DecimalLines() is true.
char* fixedPairLinesAvx2(char* p, const float* i, const float* q, size_t samples, char between);

}  // namespace qm::driver

#endif
