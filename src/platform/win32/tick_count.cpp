#include "platform/win32/tick_count.h"

#include <windows.h>

#include <atomic>

#include "platform/win32/system_function.h"

namespace platform {

namespace {

std::uint64_t WINAPI TickCountExtended() {
  // Any thread may ask; each answer continues the latest one given.
  static std::atomic<std::uint64_t> latest{0};
  std::uint64_t previous = latest.load();
  for (;;) {
    const std::uint64_t next = ExtendTickCount(previous, GetTickCount());
    if (latest.compare_exchange_weak(previous, next)) return next;
  }
}

std::atomic<TickCountFunction> resolved{nullptr};

}  // namespace

TickCountFunction TickCountSource(TickCountFunction system) {
  return system != nullptr ? system : &TickCountExtended;
}

std::uint64_t ExtendTickCount(std::uint64_t previous, std::uint32_t now) {
  std::uint64_t next = (previous & ~std::uint64_t{0xFFFFFFFF}) | now;
  if (next < previous) next += std::uint64_t{1} << 32;
  return next;
}

std::uint64_t WINAPI TickCount64() {
  TickCountFunction function = resolved.load(std::memory_order_relaxed);
  if (function == nullptr) {
    // Looked up, never imported: an import of it keeps XP from starting the program.
    function = TickCountSource(
        SystemFunction<TickCountFunction>(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64"));
    resolved.store(function, std::memory_order_relaxed);
  }
  return function();
}

}  // namespace platform
