// A file that replaces its namesake only once it is whole. It is written under a temporary name in the
// same folder, flushed to the disk and renamed over the final name, so a program killed in the middle,
// a full disk or a failed write leave the old file as it was. The new file takes the old one's
// permissions, or those of any new file when there was none.
#ifndef QM_PANEL_REPLACING_FILE_H
#define QM_PANEL_REPLACING_FILE_H

#include <cstddef>
#include <string>

class ReplacingFile {
  public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile();  // removes the temporary file unless it was committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the empty temporary file; false when the folder cannot take it (missing, unwritable).
    bool create();
    // Where the content goes until commit(), for writers that open the file themselves.
    const std::string& tempPath() const { return temp_; }
    // Appends bytes to the temporary file; false when they could not all be written.
    bool write(const void* data, size_t bytes);
    // Flushes the temporary file to the disk and renames it over the final name; false on failure, which
    // leaves the final name as it was.
    bool commit();

  private:
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
};

#endif
