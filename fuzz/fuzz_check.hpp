// A broken promise is a finding: the fuzz targets report it and abort, as
// the sanitizers do, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, promise)                                                                 \
  do {                                                                                                 \
    if (!(condition)) {                                                                                \
      std::fprintf(stderr, "%s:%d: %s (check failed: %s)\n", __FILE__, __LINE__, promise, #condition); \
      std::abort();                                                                                    \
    }                                                                                                  \
  } while (false)
