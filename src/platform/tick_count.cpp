#include "platform/tick_count.h"

#include <windows.h>

#include <atomic>

#include "platform/system_function.h"

namespace platform {

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

std::uint64_t WINAPI TickCountExtended() {
  // Any thread may ask; each answer continues the latest one given.
  static std::atomic<std::uint64_t> latest{0};
  std::uint64_t previous = latest.load();
  for (;;) {
    const std::uint64_t next = ExtendTickCount(previous, GetTickCount());
    if (latest.compare_exchange_weak(previous, next)) return next;
  }
}

TickCount64Function Resolve() {
  // Looked up, never imported: an import of it keeps XP from starting the program.
  const auto system =
      SystemFunction<TickCount64Function>(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64");
  return system != nullptr ? system : &TickCountExtended;
}

std::atomic<TickCount64Function> resolved{nullptr};

}  // namespace

std::uint64_t ExtendTickCount(std::uint64_t previous, std::uint32_t now) {
  std::uint64_t next = (previous & ~std::uint64_t{0xFFFFFFFF}) | now;
  if (next < previous) next += std::uint64_t{1} << 32;
  return next;
}

std::uint64_t WINAPI TickCount64() {
  TickCount64Function function = resolved.load(std::memory_order_relaxed);
  if (function == nullptr) {
    function = Resolve();
    resolved.store(function, std::memory_order_relaxed);
  }
  return function();
}

}  // namespace platform
