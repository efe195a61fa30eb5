// The floor for the start-up scan: a bare wide-character enumeration of the
// folders Setup.exe searches in its current folder, with the same patterns,
// and nothing else (no lists kept, no conversions, no window).
#include <cstdio>

#include "enumerate.h"

int wmain() {
  std::printf("entries=%lu\n", bench::EnumerateDistribution());
  return 0;
}
