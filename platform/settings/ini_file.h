// Reading and atomically replacing the files behind INI instances.
#ifndef QM_SETTINGS_INI_FILE_H
#define QM_SETTINGS_INI_FILE_H

#include <cstdint>
#include <string>

namespace qm::ini {

// Largest file an instance reads; settings files are a few tens of kilobytes.
constexpr size_t MAX_FILE_SIZE = 16u * 1024u * 1024u;

// Reads the whole file into *text. A missing file is not an error: *text is empty and *missing set.
// Returns 0 or a negative QM41XXUTILS_ERR_... status (not a regular file, unreadable, too large).
int32_t readFile(const std::string& path, std::string* text, bool* missing);

// Replaces the file with `text`: writes a temporary file in the same folder, flushes it to disk and
// renames it over the old one, so that the old file stays whole until the new one is complete. The
// new file keeps the old one's permissions; a file without any write permission is left alone. Returns 0
// or QM41XXUTILS_ERR_FILE_WRITE.
int32_t replaceFile(const std::string& path, const std::string& text);

}  // namespace qm::ini

#endif
