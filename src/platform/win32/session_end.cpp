#include "platform/win32/session_end.h"

#include "platform/win32/system_function.h"

namespace platform {

namespace {

// Looked up at run time: Windows XP has neither.
using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND);

template <typename Function>
Function User32Function(const char* name) {
  return SystemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

void HoldUpSessionEnd(HWND window, const wchar_t* reason) {
  static const auto create = User32Function<ShutdownBlockReasonCreateFn>("ShutdownBlockReasonCreate");
  if (create != nullptr) create(window, reason);
}

void ReleaseSessionEnd(HWND window) {
  static const auto destroy =
      User32Function<ShutdownBlockReasonDestroyFn>("ShutdownBlockReasonDestroy");
  if (destroy != nullptr) destroy(window);
}

}  // namespace platform
