// Windows' own DLLs, loaded from the system folder only, and their functions
// that not every Windows the program runs on has, looked up when it runs
// instead of imported: Windows refuses to start a program that imports a
// function it lacks (Windows XP has no GetTickCount64, no
// SetDefaultDllDirectories, no ShutdownBlockReasonCreate).
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Windows' system folder ("C:\Windows\System32"), or empty where it cannot
// be told.
inline std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

// Loads the DLL `name` ("rstrtmgr.dll") from `systemFolder` by its full path,
// never one of that name beside the program; its own imports then come from
// there too. nullptr where the folder is unknown or lacks it.
inline HMODULE LoadSystemDll(const std::wstring& systemFolder, const std::wstring& name) {
  if (systemFolder.empty()) return nullptr;
  const std::wstring path = systemFolder + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// `name` in the loaded `module`, as a pointer of type `Function`; nullptr
// where the module or the function is missing.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform
