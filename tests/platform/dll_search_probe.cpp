// Loads version.dll by name, as Windows' own DLLs do while a program runs,
// and says which copy it got: "planted" (the one beside this program) or
// "system". First, as asked: nothing, the program's RestrictDllSearch, or
// the preload that stands in for it on older Windows.
//   dll_search_probe none|restricted|preloaded
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/dll_search.h"
#include "platform/win32/system_function.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc == 2 ? argv[1] : L"";
  if (mode == L"restricted") {
    platform::RestrictDllSearch();
  } else if (mode == L"preloaded") {
    std::printf("preloaded %d\n", platform::PreloadSystemDlls(platform::SystemFolder()));
  } else if (mode != L"none") {
    std::printf("usage: dll_search_probe none|restricted|preloaded\n");
    return 2;
  }
  const HMODULE dll = LoadLibraryW(L"version.dll");
  if (dll == nullptr) {
    std::printf("not loaded: error %lu\n", GetLastError());
    return 1;
  }
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(dll, path, MAX_PATH);
  std::printf("%s %ls\n", GetProcAddress(dll, "PlantedMarker") != nullptr ? "planted" : "system", path);
  return 0;
}
