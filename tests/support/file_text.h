// A whole file as one string, and a string written as a whole file, byte for byte.
#ifndef QM_TESTS_SUPPORT_FILE_TEXT_H
#define QM_TESTS_SUPPORT_FILE_TEXT_H

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Empty when the file cannot be read.
inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

#endif
