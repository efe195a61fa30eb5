// Milliseconds since Windows started, as GetTickCount64 counts them, on every
// Windows the program runs on: Windows XP has no GetTickCount64.
#pragma once

#include <cstdint>

namespace platform {

// GetTickCount64 where the system has it (Vista on); elsewhere GetTickCount's
// count, carried over its wrap every 49.7 days. A wrap between two calls more
// than 49.7 days apart is missed. Never fails.
std::uint64_t __stdcall TickCount64();

// What TickCount64 counts with, given the system's GetTickCount64 (nullptr
// where the system has none): that function, else GetTickCount's count
// carried over its wraps.
using TickCountFunction = std::uint64_t(__stdcall*)();
TickCountFunction TickCountSource(TickCountFunction system);

// The 64-bit count that follows `previous` when GetTickCount says `now`: the
// upper half of `previous`, one more when the lower half went round.
std::uint64_t ExtendTickCount(std::uint64_t previous, std::uint32_t now);

}  // namespace platform
