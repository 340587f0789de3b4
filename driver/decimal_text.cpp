// Decimal lines of 32-bit words ("%d\n" text), the hottest part of writing a 32-bit capture as text.
//
// The scalar formatter makes all ten digit places of a value at once as independent pairs and stores the
// significant ones with shifts. The AVX2 writer does the same arithmetic for eight words at a time, each
// word in a 64-bit lane, and ends with one 16-byte shuffle and store per line. On noise-like words it is
// several times faster than the scalar code, which spends its time in the divisions and the table
// look-ups (bench/capture, formatDecimal32, measures both in the same run).
//
// The "%f" lines of I/Q floats use the same records: a float below 8 in magnitude becomes its number of
// millionths, exactly rounded, in 64-bit lanes, and each value's text is again one shuffle of its record
// (formatFloatText measures it against the scalar writer).

#include "decimal_text.h"

#include "capture_file.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QM_DECIMAL_AVX2 1
#endif

namespace qm::driver {

char* formatInt32(char* p, int32_t value) {
    // No branch on the sign: noise-like words are negative half the time, and a branch would be guessed
    // wrong as often. The minus is always stored and kept only for a negative value; the first digit
    // overwrites it otherwise.
    const uint32_t negative = static_cast<uint32_t>(value) >> 31;
    *p = '-';
    p += negative;
    const uint32_t magnitude = (static_cast<uint32_t>(value) ^ (0u - negative)) + negative;
    // All ten digit places are made at once, as independent pairs, and kept in registers: the last
    // eight as one 64-bit word and the first two as a 16-bit one, in text order (little-endian). The
    // significant digits are then stored with shifts, so the work hardly branches on the length.
    static constexpr uint32_t POWERS[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};
    int digits = (std::bit_width(magnitude | 1u) * 1233) >> 12;
    digits += (magnitude | 1u) >= POWERS[digits];
    const uint32_t top = magnitude / 100000000;
    const uint32_t below = magnitude - top * 100000000;
    const uint32_t upper = below / 10000;
    const uint32_t lower = below - upper * 10000;
    auto pair = [](uint32_t v) {
        uint16_t two;
        std::memcpy(&two, &DIGIT_PAIRS[2 * v], 2);
        return uint64_t{two};
    };
    if constexpr (std::endian::native == std::endian::little) {
        const uint64_t eight =
            pair(upper / 100) | pair(upper % 100) << 16 | pair(lower / 100) << 32 | pair(lower % 100) << 48;
        if (digits <= 8) {
            const uint64_t shown = eight >> (8 * (8 - digits));
            std::memcpy(p, &shown, 8);
        } else {
            const uint64_t first = pair(top) >> (8 * (10 - digits));
            std::memcpy(p, &first, 2);
            std::memcpy(p + digits - 8, &eight, 8);
        }
        return p + digits;
    } else {
        char places[10];
        std::memcpy(places, &DIGIT_PAIRS[2 * top], 2);
        std::memcpy(places + 2, &DIGIT_PAIRS[2 * (upper / 100)], 2);
        std::memcpy(places + 4, &DIGIT_PAIRS[2 * (upper % 100)], 2);
        std::memcpy(places + 6, &DIGIT_PAIRS[2 * (lower / 100)], 2);
        std::memcpy(places + 8, &DIGIT_PAIRS[2 * (lower % 100)], 2);
        std::memcpy(p, places + 10 - digits, static_cast<size_t>(digits));
        return p + digits;
    }
}

namespace {

// Made at the first use, in static storage: no allocation that could fail on the way to a file.
struct FixedTexts16 {
    FixedText entry[65536];
    FixedTexts16() {
        for (int32_t k = -32768; k < 32768; ++k) {
            FixedText& e = entry[k + 32768];
            e.length = static_cast<uint8_t>(formatFixed6(e.text, static_cast<float>(k / 32768.0)) - e.text);
        }
    }
};

}  // namespace

const FixedText* fixedTexts16() {
    static const FixedTexts16 table;
    return table.entry + 32768;
}

char* decimalLines32Scalar(char* p, const int32_t* words, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        p = formatInt32(p, words[k]);
        *p++ = '\n';
    }
    return p;
}

#ifdef QM_DECIMAL_AVX2

namespace {

#define QM_AVX2 __attribute__((target("avx2")))

// Each word first becomes a 16-byte record that holds every character its line could need, at fixed
// places: bytes 0-7 the last eight of its ten digit places, 8-9 the first two, 10 a minus, 11 the line
// end (12-15 zero). Its line is then one byte shuffle of the record: the minus if the word is negative,
// the significant digits, the line end. The shuffles are in a table indexed by 16 * negative + digits.
constexpr uint8_t RECORD_MINUS = 10;
constexpr uint8_t RECORD_NEWLINE = 11;

struct LineShapes {
    alignas(16) uint8_t shuffle[32][16] = {};
};

constexpr LineShapes makeLineShapes() {
    LineShapes shapes;
    for (int negative = 0; negative < 2; ++negative) {
        for (int digits = 1; digits <= 10; ++digits) {
            uint8_t* s = shapes.shuffle[16 * negative + digits];
            for (int b = 0; b < 16; ++b) s[b] = 0x80;  // a set top bit shuffles in a zero byte
            int at = 0;
            if (negative) s[at++] = RECORD_MINUS;
            for (int place = 10 - digits; place < 10; ++place)
                s[at++] = static_cast<uint8_t>(place < 2 ? 8 + place : place - 2);
            s[at] = RECORD_NEWLINE;
        }
    }
    return shapes;
}

constexpr LineShapes LINE_SHAPES = makeLineShapes();

// The largest values of one to nine digits: a magnitude has one digit more than the number of them it
// exceeds.
constexpr int32_t DIGIT_LIMITS[] = {9, 99, 999, 9999, 99999, 999999, 9999999, 99999999, 999999999};

// The records of four magnitudes, one in the low half of each 64-bit lane. Every quotient comes from a
// multiplication by a rounded-up reciprocal and a shift: with c = ceil(2^s / d) = (2^s + e) / d,
// m * c / 2^s = m / d + m * e / (d * 2^s), and the added part stays below 1 / d, which cannot carry the
// floor past floor(m / d), as long as m * e < 2^s. That holds below the bound given with each step, and the
// remainders, m - d * floor(m / d), are then exact too.
//   first two places:  m / 10^8,  ceil(2^58 / 10^8) = 2882303762, exact for m < 2^32 (m <= 2^31 here)
//   two groups of four: b / 10^4, ceil(2^45 / 10^4) = 3518437209, exact for b < 2^32 (b < 10^8 here)
//   pairs of a group:   g / 100,  (g * 5243) >> 19, exact for g < 43690 (g < 10^4 here)
//   digits of a pair:   q / 10,   (q * 6554) >> 16, exact for q < 16384 (q < 100 here)
// At each step the quotient, which comes first in the text, is put in the lower half of the lane and the
// remainder in the upper half, so that in little-endian memory the digits end up in text order.
// `first` gets the records of lanes 0 and 2, `second` those of lanes 1 and 3.
QM_AVX2 inline void makeRecords(__m256i magnitude, __m256i& first, __m256i& second) {
    const __m256i top = _mm256_srli_epi64(_mm256_mul_epu32(magnitude, _mm256_set1_epi64x(2882303762)), 58);
    const __m256i below = _mm256_sub_epi64(magnitude, _mm256_mul_epu32(top, _mm256_set1_epi64x(100000000)));
    const __m256i high4 = _mm256_srli_epi64(_mm256_mul_epu32(below, _mm256_set1_epi64x(3518437209)), 45);
    const __m256i low4 = _mm256_sub_epi64(below, _mm256_mul_epu32(high4, _mm256_set1_epi64x(10000)));
    const __m256i groups = _mm256_or_si256(high4, _mm256_slli_epi64(low4, 32));
    // Each 32-bit lane holds a group below 10^4 in its lower 16 bits and zero above; the upper halves stay
    // zero through the 16-bit arithmetic.
    const __m256i hundreds = _mm256_srli_epi16(_mm256_mulhi_epu16(groups, _mm256_set1_epi16(5243)), 3);
    const __m256i rest = _mm256_sub_epi16(groups, _mm256_mullo_epi16(hundreds, _mm256_set1_epi16(100)));
    const __m256i pairs = _mm256_or_si256(hundreds, _mm256_slli_epi32(rest, 16));
    // Each 16-bit lane now holds a pair below 100.
    const __m256i tens = _mm256_mulhi_epu16(pairs, _mm256_set1_epi16(6554));
    const __m256i units = _mm256_sub_epi16(pairs, _mm256_mullo_epi16(tens, _mm256_set1_epi16(10)));
    const __m256i eight = _mm256_or_si256(tens, _mm256_slli_epi16(units, 8));
    const __m256i eightText = _mm256_add_epi8(eight, _mm256_set1_epi8('0'));
    // The first two places (the top is at most 42) with the minus and the line end after them.
    const __m256i topTens = _mm256_mulhi_epu16(top, _mm256_set1_epi16(6554));
    const __m256i topUnits = _mm256_sub_epi16(top, _mm256_mullo_epi16(topTens, _mm256_set1_epi16(10)));
    const __m256i topText = _mm256_add_epi8(_mm256_or_si256(topTens, _mm256_slli_epi16(topUnits, 8)),
                                            _mm256_set1_epi64x(0x0A2D3030));  // '0' '0' '-' '\n'
    first = _mm256_unpacklo_epi64(eightText, topText);
    second = _mm256_unpackhi_epi64(eightText, topText);
}

QM_AVX2 inline char* putLine(char* p, __m128i record, int32_t shape, int32_t length) {
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(LINE_SHAPES.shuffle[shape]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_shuffle_epi8(record, shuffle));
    return p + length;
}

// Four lines from the records of makeRecords.
QM_AVX2 inline char* putFour(char* p, __m256i first, __m256i second, const int32_t* shape,
                             const int32_t* length) {
    p = putLine(p, _mm256_castsi256_si128(first), shape[0], length[0]);
    p = putLine(p, _mm256_castsi256_si128(second), shape[1], length[1]);
    p = putLine(p, _mm256_extracti128_si256(first, 1), shape[2], length[2]);
    return putLine(p, _mm256_extracti128_si256(second, 1), shape[3], length[3]);
}

// "%f" text of a value below FIXED_LINE_LIMIT in magnitude is its sign, one whole digit, the point and
// six digits. makeRecords, given whole * 10^8 + millionths, puts the whole digit at byte 9 and the six
// digits at bytes 2-7, the minus at 10 and a line end at 11; the pair writer adds the point at byte 12
// and the character after an I value at byte 13. The shapes are indexed by 2 * (value is I) + negative.
constexpr uint32_t FIXED_LINE_LIMIT_BITS = 0x41000000;  // 8.0f
constexpr uint8_t RECORD_POINT = 12;
constexpr uint8_t RECORD_BETWEEN = 13;

constexpr LineShapes makeFixedShapes() {
    LineShapes shapes;
    for (int shape = 0; shape < 4; ++shape) {
        uint8_t* s = shapes.shuffle[shape];
        for (int b = 0; b < 16; ++b) s[b] = 0x80;
        int at = 0;
        if (shape & 1) s[at++] = RECORD_MINUS;
        s[at++] = 9;
        s[at++] = RECORD_POINT;
        for (uint8_t place = 2; place < 8; ++place) s[at++] = place;
        s[at] = (shape & 2) ? RECORD_BETWEEN : RECORD_NEWLINE;
    }
    return shapes;
}

constexpr LineShapes FIXED_SHAPES = makeFixedShapes();

// A million times each of four values (one in each 64-bit lane, their magnitudes' bits in the low half),
// rounded to the nearest integer, ties to even, in the form makeRecords takes: whole * 10^8 + millionths.
// A float is m * 2^e exactly, so a million times it is m * 15625 * 2^(e + 6); below 8 in magnitude
// e + 6 <= -15, so it is always a shift down, by d = 144 - max(biased exponent, 1). Held to 63, d still
// leaves 0 of any m * 15625 (< 2^38) and rounds it to 0, as the exact value (below 2^-25) is. The rounding
// adds half - 1 and the lowest kept bit before the shift: the sum carries into the kept bits exactly when
// the dropped bits exceed half, or equal it and the kept value is odd. Nothing overflows: the sum stays
// below 2^38 + 2^62.
//   whole part: u / 10^6, ceil(2^42 / 10^6) = 4398047 overshoots 2^42 / 10^6 by e = 488896 / 10^6,
//   and u * 488896 < 2^42 for u <= 8 * 10^6, so the quotient is exact (see makeRecords).
QM_AVX2 inline __m256i millionths(__m256i magnitudeBits) {
    const __m256i biased = _mm256_max_epi32(_mm256_srli_epi64(magnitudeBits, 23), _mm256_set1_epi64x(1));
    const __m256i implicit =
        _mm256_and_si256(_mm256_cmpgt_epi32(_mm256_srli_epi64(magnitudeBits, 23), _mm256_setzero_si256()),
                         _mm256_set1_epi64x(0x800000));
    const __m256i mantissa =
        _mm256_or_si256(_mm256_and_si256(magnitudeBits, _mm256_set1_epi64x(0x7FFFFF)), implicit);
    const __m256i scaled = _mm256_mul_epu32(mantissa, _mm256_set1_epi64x(15625));
    const __m256i down =
        _mm256_min_epi32(_mm256_sub_epi32(_mm256_set1_epi64x(144), biased), _mm256_set1_epi64x(63));
    const __m256i one = _mm256_set1_epi64x(1);
    const __m256i half = _mm256_sllv_epi64(one, _mm256_sub_epi64(down, one));
    const __m256i kept = _mm256_and_si256(_mm256_srlv_epi64(scaled, down), one);
    const __m256i micro = _mm256_srlv_epi64(
        _mm256_add_epi64(_mm256_add_epi64(scaled, _mm256_sub_epi64(half, one)), kept), down);
    const __m256i whole = _mm256_srli_epi64(_mm256_mul_epu32(micro, _mm256_set1_epi64x(4398047)), 42);
    return _mm256_add_epi64(micro, _mm256_mul_epu32(whole, _mm256_set1_epi64x(100000000 - 1000000)));
}

QM_AVX2 inline char* putFixed(char* p, __m128i record, int32_t shape) {
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(FIXED_SHAPES.shuffle[shape]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_shuffle_epi8(record, shuffle));
    return p + 9 + (shape & 1);
}

}  // namespace

QM_AVX2 char* fixedPairLinesAvx2(char* p, const float* i, const float* q, size_t samples, char between) {
    // Four samples at a time: their I values in lanes 0-3, their Q values in lanes 4-7. A value's text is
    // stored as 16 bytes although it takes at most 10, so the stores of a sample reach at most 27 bytes
    // past its start, well within the FIXED_PAIR_LINE_BYTES of room it has.
    // The point and the separator go into bytes 12 and 13 of every record, the upper 64-bit lane of each
    // 128-bit half, which makeRecords leaves zero there.
    const int64_t extra =
        static_cast<int64_t>(uint64_t{'.'} << 32 | uint64_t{static_cast<uint8_t>(between)} << 40);
    const __m256i extras = _mm256_set_epi64x(extra, 0, extra, 0);
    const __m256i shapeOfI = _mm256_setr_epi32(2, 2, 2, 2, 0, 0, 0, 0);
    const FixedText* table = fixedTexts16();
    size_t k = 0;
    for (; k + 4 <= samples; k += 4) {
        const __m256i bits = _mm256_set_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k)),
                                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(i + k)));
        const __m256i magnitude = _mm256_and_si256(bits, _mm256_set1_epi32(0x7FFFFFFF));
        // Larger values, infinities and NaNs (all above the limit as bits) go to the scalar formatter.
        const __m256i inside = _mm256_cmpgt_epi32(_mm256_set1_epi32(FIXED_LINE_LIMIT_BITS), magnitude);
        if (_mm256_movemask_epi8(inside) != -1) {
            p = fixedPairLinesScalar(p, i + k, q + k, 4, between);
            continue;
        }
        // A group of values of 16-bit words, k / 32768 with k from -32768 to 32767 and not -0, is
        // copied from their table, as the scalar writer does: that is faster than making their text.
        const __m256 scaled = _mm256_mul_ps(_mm256_castsi256_ps(bits), _mm256_set1_ps(32768.0f));
        const __m256i word = _mm256_cvttps_epi32(scaled);
        const __m256i whole =
            _mm256_castps_si256(_mm256_cmp_ps(_mm256_cvtepi32_ps(word), scaled, _CMP_EQ_OQ));
        const __m256i inRange =
            _mm256_or_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(0x3F800000), magnitude),
                            _mm256_cmpeq_epi32(bits, _mm256_set1_epi32(static_cast<int32_t>(0xBF800000u))));
        const __m256i minusZero = _mm256_cmpeq_epi32(bits, _mm256_set1_epi32(INT32_MIN));
        if (_mm256_movemask_epi8(_mm256_andnot_si256(minusZero, _mm256_and_si256(whole, inRange))) == -1) {
            alignas(32) int32_t words[8];
            _mm256_store_si256(reinterpret_cast<__m256i*>(words), word);
            for (int s = 0; s < 4; ++s) {
                const FixedText& iText = table[words[s]];
                std::memcpy(p, iText.text, sizeof(FixedText));
                p += iText.length;
                *p++ = between;
                const FixedText& qText = table[words[4 + s]];
                std::memcpy(p, qText.text, sizeof(FixedText));
                p += qText.length;
                *p++ = '\n';
            }
            continue;
        }
        alignas(32) int32_t shape[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(shape),
                           _mm256_add_epi32(_mm256_srli_epi32(bits, 31), shapeOfI));
        __m256i i02, i13, q02, q13;
        makeRecords(millionths(_mm256_cvtepu32_epi64(_mm256_castsi256_si128(magnitude))), i02, i13);
        makeRecords(millionths(_mm256_cvtepu32_epi64(_mm256_extracti128_si256(magnitude, 1))), q02, q13);
        i02 = _mm256_or_si256(i02, extras);
        i13 = _mm256_or_si256(i13, extras);
        q02 = _mm256_or_si256(q02, extras);
        q13 = _mm256_or_si256(q13, extras);
        p = putFixed(p, _mm256_castsi256_si128(i02), shape[0]);
        p = putFixed(p, _mm256_castsi256_si128(q02), shape[4]);
        p = putFixed(p, _mm256_castsi256_si128(i13), shape[1]);
        p = putFixed(p, _mm256_castsi256_si128(q13), shape[5]);
        p = putFixed(p, _mm256_extracti128_si256(i02, 1), shape[2]);
        p = putFixed(p, _mm256_extracti128_si256(q02, 1), shape[6]);
        p = putFixed(p, _mm256_extracti128_si256(i13, 1), shape[3]);
        p = putFixed(p, _mm256_extracti128_si256(q13, 1), shape[7]);
    }
    return fixedPairLinesScalar(p, i + k, q + k, samples - k, between);
}

QM_AVX2 char* decimalLines32Avx2(char* p, const int32_t* words, size_t count) {
    // A line is stored as 16 bytes although it takes at most 12: the stores reach up to 4 bytes into the
    // room of the next line. The last word of the run is therefore always left to the scalar code, whose
    // line stays within its 12 bytes, and no store passes the room of the run.
    size_t k = 0;
    for (; k + 8 < count; k += 8) {
        const __m256i value = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words + k));
        const __m256i negative = _mm256_srli_epi32(value, 31);
        // |INT32_MIN| is 2^31 as an unsigned lane, which is its magnitude.
        const __m256i magnitude = _mm256_abs_epi32(value);
        // Digit counts by signed comparisons; 2^31 is held to 2^31 - 1 for them, which has as many digits.
        const __m256i capped = _mm256_min_epu32(magnitude, _mm256_set1_epi32(INT32_MAX));
        __m256i digits = _mm256_set1_epi32(1);
        for (int32_t limit : DIGIT_LIMITS)
            digits = _mm256_sub_epi32(digits, _mm256_cmpgt_epi32(capped, _mm256_set1_epi32(limit)));
        alignas(32) int32_t shape[8];
        alignas(32) int32_t length[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(shape),
                           _mm256_add_epi32(digits, _mm256_slli_epi32(negative, 4)));
        _mm256_store_si256(reinterpret_cast<__m256i*>(length),
                           _mm256_add_epi32(_mm256_add_epi32(digits, negative), _mm256_set1_epi32(1)));
        __m256i first, second;
        makeRecords(_mm256_cvtepu32_epi64(_mm256_castsi256_si128(magnitude)), first, second);
        p = putFour(p, first, second, shape, length);
        makeRecords(_mm256_cvtepu32_epi64(_mm256_extracti128_si256(magnitude, 1)), first, second);
        p = putFour(p, first, second, shape + 4, length + 4);
    }
    return decimalLines32Scalar(p, words + k, count - k);
}

bool avx2DecimalLines() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

#else

char* decimalLines32Avx2(char* p, const int32_t* words, size_t count) {
    return decimalLines32Scalar(p, words, count);
}

bool avx2DecimalLines() {
    return false;
}

char* fixedPairLinesAvx2(char* p, const float* i, const float* q, size_t samples, char between) {
    return fixedPairLinesScalar(p, i, q, samples, between);
}

#endif

char* decimalLines32(char* p, const int32_t* words, size_t count) {
    return avx2DecimalLines() ? decimalLines32Avx2(p, words, count) : decimalLines32Scalar(p, words, count);
}

}  // namespace qm::driver
