#include "platform/win32/dll_search.h"

#include <windows.h>

#include "platform/win32/system_function.h"

namespace platform {

namespace {

// A function of kernel32 that not every Windows has, or nullptr.
template <typename Function>
Function Kernel32Function(const char* name) {
  return SystemFunction<Function>(GetModuleHandleW(L"kernel32.dll"), name);
}

}  // namespace

bool UseDefaultDllDirectories(bool available, unsigned major, unsigned minor) {
  return available && !(major == 6 && minor == 0);
}

int PreloadSystemDlls(const std::wstring& systemFolder) {
  int loaded = 0;
  for (const wchar_t* name : kPreloadedDlls) {
    // Kept loaded for the life of the process, so that its name stays taken.
    if (LoadSystemDll(systemFolder, std::wstring(name) + L".dll") != nullptr) ++loaded;
  }
  return loaded;
}

void EnforceRedirectionTrust() {
  using SetPolicyFunction = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
  const auto setPolicy = Kernel32Function<SetPolicyFunction>("SetProcessMitigationPolicy");
  if (setPolicy == nullptr) return;
  PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy = {};
  policy.EnforceRedirectionTrust = 1;
  // Older systems refuse the policy they do not know; nothing else changes.
  setPolicy(ProcessRedirectionTrustPolicy, &policy, sizeof policy);
}

void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  using SetSearchPathModeFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefault =
      Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
  const DWORD version = GetVersion();
  const bool systemFolderOnly =
      UseDefaultDllDirectories(setDefault != nullptr, LOBYTE(LOWORD(version)),
                               HIBYTE(LOWORD(version))) &&
      setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Where the system cannot be told, the DLLs it would load by name later
  // are loaded now, by their full path.
  if (!systemFolderOnly) PreloadSystemDlls(SystemFolder());
  SetDllDirectoryW(L"");  // not the current folder either
  if (const auto setSearchPathMode = Kernel32Function<SetSearchPathModeFunction>("SetSearchPathMode")) {
    setSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
  }
}

}  // namespace platform
