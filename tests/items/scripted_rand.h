// A random source for the item makers that returns a scripted sequence of draws.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>

namespace scripted {

inline int values[64];
inline int count = 0;
inline int next = 0;

inline void script(std::initializer_list<int> v) {
    count = 0;
    next = 0;
    for (int x : v) values[count++] = x;
}

// Hands out the scripted draws in order; running out or drawing outside 1..n fails the test.
inline int rand(int n) {
    if (next >= count) {
        ADD_FAILURE() << "random source ran out of scripted draws";
        return 1;
    }
    int v = values[next++];
    EXPECT_GE(v, 1);
    EXPECT_LE(v, n);
    return v;
}

inline int used() { return next; }

}  // namespace scripted
