#pragma once

#include <cstdio>
#include <cstdlib>

// A property of the client that an input broke: libFuzzer keeps the input as a
// crash and the message says which property it was.
inline void fuzzCheck(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", property);
    std::abort();
}
