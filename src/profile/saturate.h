// Lifetime counters stop at the top of their range instead of wrapping, so a long-lived (or
// hand-edited) profile never turns a statistic negative.
#pragma once
#include <cstdint>

inline void count_add(int32_t& counter, int64_t n) {
    const int64_t v = (int64_t)counter + n;
    counter = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
}
