#pragma once
// A failed check aborts, so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond) \
    ((cond) ? void() : (std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__), std::abort()))
