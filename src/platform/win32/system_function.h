// Functions of Windows' own DLLs that not every Windows the program runs on
// has, looked up when it runs instead of imported: Windows refuses to start a
// program that imports a function it lacks (Windows XP has no
// GetTickCount64, no SetDefaultDllDirectories, no ShutdownBlockReasonCreate).
#pragma once

#include <windows.h>

namespace platform {

// `name` in the loaded `module`, as a pointer of type `Function`; nullptr
// where the module or the function is missing.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform
