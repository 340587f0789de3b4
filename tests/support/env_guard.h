// An environment variable set, or unset, for one scope.
#ifndef QM_TESTS_SUPPORT_ENV_GUARD_H
#define QM_TESTS_SUPPORT_ENV_GUARD_H

#include <cstdlib>
#include <string>

// Sets `name` to `value` (null: unsets it) until the guard goes; then puts back what was there.
class EnvGuard {
  public:
    EnvGuard(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvGuard() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

  private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

#endif
