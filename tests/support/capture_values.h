// The values of a capture file as the tests read it back with readers of their own: text, one value a line
// or two to a line separated by a comma, and little-endian binary words.
#ifndef QM_TESTS_SUPPORT_CAPTURE_VALUES_H
#define QM_TESTS_SUPPORT_CAPTURE_VALUES_H

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Every number of `text` in order; empty when something in it is not a number.
inline std::vector<double> textValues(const std::string& text) {
    std::vector<double> values;
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        values.push_back(std::strtod(p, &end));
        if (end == p) return {};
        p = end;
        while (*p == ',' || *p == '\n') ++p;
    }
    return values;
}

// Every `bytes`-wide little-endian word of `data`: signed integers, or 4-byte floats.
inline std::vector<double> littleEndianValues(const std::string& data, int bytes, bool isFloat) {
    std::vector<double> values;
    for (size_t at = 0; at + bytes <= data.size(); at += bytes) {
        uint32_t u = 0;
        for (int b = bytes - 1; b >= 0; --b) u = (u << 8) | static_cast<unsigned char>(data[at + b]);
        if (isFloat) {
            float f = 0.0f;
            std::memcpy(&f, &u, 4);
            values.push_back(f);
        } else {
            values.push_back(bytes == 2 ? static_cast<int16_t>(u) : static_cast<int32_t>(u));
        }
    }
    return values;
}

#endif
