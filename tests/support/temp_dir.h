// A folder of its own for one test, removed with everything in it when the test ends.
#ifndef QM_TESTS_SUPPORT_TEMP_DIR_H
#define QM_TESTS_SUPPORT_TEMP_DIR_H

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class TempDir {
  public:
    explicit TempDir(const char* prefix = "qm4120_test") {
        std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "_XXXXXX";
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

#endif
