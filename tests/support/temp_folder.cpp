#include "support/temp_folder.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/wide.h"

namespace test_support {

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &data));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

TempFolder::TempFolder(const std::string& prefix) {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  // Wine hands out the same process ids run after run, so a folder that an
  // earlier run could not remove may carry the name: the next one is taken.
  std::wstring path;
  for (;;) {
    path = std::wstring(temp, length) + platform::Widen(prefix) +
           std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
    if (CreateDirectoryW(path.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS || counter >= 1000) {
      throw std::runtime_error("cannot create " + platform::Narrow(path));
    }
  }
  path_ = platform::Narrow(path);
}

TempFolder::~TempFolder() { RemoveTree(platform::Widen(path_)); }

}  // namespace test_support
