// The one way a fuzz target reports a broken promise of the code under test: a message naming it and an
// abort, which libFuzzer records as a crash with the input that caused it.
#ifndef QM_FUZZ_CHECK_H
#define QM_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

#endif
