// The search loop of the benchmark's helpers, and a bare wide-character
// enumeration of the folders the start-up scan of
// Setup.exe searches, with the same patterns: entries are only counted.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

// Hands every entry a search finds to `each`, in the order found, until
// `each` returns false. The search is the scan's: basic information, large
// fetches.
template <typename Each>
void ForEachEntry(const std::wstring& pattern, Each&& each) {
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return;
  while (each(data) && FindNextFileW(search, &data)) {
  }
  FindClose(search);
}

// Counts the entries a search finds; `first` stops after the first one.
inline unsigned long Enumerate(const std::wstring& pattern, bool first = false,
                               std::wstring* firstName = nullptr) {
  unsigned long count = 0;
  ForEachEntry(pattern, [&](const WIN32_FIND_DATAW& data) {
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) return true;
    if (count == 0 && firstName != nullptr) *firstName = name;
    ++count;
    return !first;
  });
  return count;
}

// Enumerates the distribution in the current folder; returns the entry count.
inline unsigned long EnumerateDistribution() {
  // Absolute patterns, as the scan builds them from the current folder.
  wchar_t folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return 0;
  std::wstring src(folder, length);
  if (src.back() != L'\\') src += L'\\';
  unsigned long entries = 0;
  entries += Enumerate(src + L"config\\*.bib", true);
  entries += Enumerate(src + L"config\\*.cfg");
  entries += Enumerate(src + L"config\\*.run");
  entries += Enumerate(src + L"config\\MSinfo\\pic\\*.*");
  entries += Enumerate(src + L"config\\*.bmp", true);
  std::wstring data;
  entries += Enumerate(src + L"DATA????", true, &data);
  if (!data.empty()) entries += Enumerate(src + data + L"\\*.dat");
  return entries;
}

}  // namespace bench
