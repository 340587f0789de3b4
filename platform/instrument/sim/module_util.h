// Small helpers shared by the module's topic files: result pointers, limits and rounding.
#ifndef QM4120_SIM_MODULE_UTIL_H
#define QM4120_SIM_MODULE_UTIL_H

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "status.h"

namespace qm::sim {

template <class T>
int32_t put(T* p, T v) {
    if (!p) return ERR_NULL_POINTER;
    *p = v;
    return OK;
}

// Limits a value to [lo, hi]; the warning tells which limit it hit.
template <class T>
int32_t clampTo(T* v, T lo, T hi) {
    if (*v < lo) {
        *v = lo;
        return WARN_CLAMPED_LOW;
    }
    if (*v > hi) {
        *v = hi;
        return WARN_CLAMPED_HIGH;
    }
    return OK;
}

// Nearest multiple of step.
inline double roundTo(double v, double step) {
    return std::round(v / step) * step;
}

// Rounds to a step and then limits, so the result is always on the grid and inside the limits (the
// limits are themselves on the grid).
inline int32_t roundAndClamp(double* v, double step, double lo, double hi) {
    if (!std::isfinite(*v)) return ERR_PARAMETER;
    *v = roundTo(*v, step);
    return clampTo(v, lo, hi);
}

// Sets a selector when the value is one the hardware knows; refuses it otherwise.
inline int32_t choose(uint16_t* field, uint16_t value, std::initializer_list<uint16_t> allowed,
                      int32_t refusal = ERR_PARAMETER) {
    for (uint16_t a : allowed) {
        if (a == value) {
            *field = value;
            return OK;
        }
    }
    return refusal;
}

}  // namespace qm::sim

#endif
