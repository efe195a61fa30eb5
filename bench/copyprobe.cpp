// Copies the plain files of one folder into another, one file at a time, and
// times the copies alone (the folder is listed first). Shows what a copy
// costs per file under a given way of copying:
//
//   bench_copyprobe copyfile SOURCE TARGET   CopyFileW over an existing target
//   bench_copyprobe copynew SOURCE TARGET    CopyFileW for a new file first, over an
//                                            existing one only when there is one
//   bench_copyprobe writable SOURCE TARGET   copynew, then the copy's attributes
//                                            read and a read-only one cleared,
//                                            as Setup.exe copies
//   bench_copyprobe plain SOURCE TARGET      own read/write loop
//   bench_copyprobe posix SOURCE TARGET      own loop, target opened with
//                                            FILE_FLAG_POSIX_SEMANTICS
//   bench_copyprobe exact SOURCE TARGET      own loop, target created by
//                                            NtCreateFile without
//                                            OBJ_CASE_INSENSITIVE (exact name)
//
// TARGET is created when missing. Prints files, bytes and milliseconds.
#include <windows.h>
#include <winternl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "enumerate.h"

namespace {

std::vector<char> buffer(1 << 20);

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using RtlDosPathNameToNtPathNameFn = BOOLEAN(NTAPI*)(PCWSTR, PUNICODE_STRING, PWSTR*, PVOID);

// Creates (or replaces) `path` for writing, looking its name up exactly as
// given instead of ignoring case.
HANDLE CreateExact(const std::wstring& path) {
  static const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  static const auto ntCreateFile = reinterpret_cast<NtCreateFileFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtCreateFile")));
  static const auto toNtPath = reinterpret_cast<RtlDosPathNameToNtPathNameFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlDosPathNameToNtPathName_U")));
  UNICODE_STRING name;
  if (!toNtPath(path.c_str(), &name, nullptr, nullptr)) return INVALID_HANDLE_VALUE;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &name, 0, nullptr, nullptr);
  IO_STATUS_BLOCK io;
  HANDLE file = INVALID_HANDLE_VALUE;
  const NTSTATUS status = ntCreateFile(&file, GENERIC_WRITE | SYNCHRONIZE, &attributes, &io, nullptr,
                                       FILE_ATTRIBUTE_NORMAL, 0, 5 /* FILE_OVERWRITE_IF */,
                                       0x20 /* FILE_SYNCHRONOUS_IO_NONALERT */ | 0x40 /* FILE_NON_DIRECTORY_FILE */,
                                       nullptr, 0);
  RtlFreeUnicodeString(&name);
  return status >= 0 ? file : INVALID_HANDLE_VALUE;
}

bool CopyOwn(const std::wstring& from, const std::wstring& to, DWORD targetFlags) {
  const HANDLE source = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  FILETIME written;
  GetFileTime(source, nullptr, nullptr, &written);
  const HANDLE target =
      targetFlags == ~0u ? CreateExact(to)
                         : CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | targetFlags,
                                       nullptr);
  bool ok = target != INVALID_HANDLE_VALUE;
  while (ok) {
    DWORD read = 0;
    if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) ok = false;
    if (!ok || read == 0) break;
    DWORD done = 0;
    if (!WriteFile(target, buffer.data(), read, &done, nullptr) || done != read) ok = false;
  }
  if (target != INVALID_HANDLE_VALUE) {
    if (ok) SetFileTime(target, nullptr, nullptr, &written);
    CloseHandle(target);
  }
  CloseHandle(source);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: bench_copyprobe copyfile|copynew|writable|plain|posix|exact SOURCE TARGET\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::wstring source = std::wstring(argv[2]) + L"\\";
  const std::wstring target = std::wstring(argv[3]) + L"\\";
  std::vector<std::wstring> names;
  unsigned long long bytes = 0;
  bench::ForEachEntry(source + L"*", [&](const WIN32_FIND_DATAW& data) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      names.emplace_back(data.cFileName);
      bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return true;
  });
  CreateDirectoryW(argv[3], nullptr);

  unsigned long failed = 0;
  const auto start = std::chrono::steady_clock::now();
  for (const auto& name : names) {
    bool ok;
    if (mode == L"copyfile") {
      ok = CopyFileW((source + name).c_str(), (target + name).c_str(), FALSE) != FALSE;
    } else if (mode == L"copynew" || mode == L"writable") {
      ok = CopyFileW((source + name).c_str(), (target + name).c_str(), TRUE) != FALSE ||
           (GetLastError() == ERROR_FILE_EXISTS &&
            CopyFileW((source + name).c_str(), (target + name).c_str(), FALSE) != FALSE);
      const DWORD attributes = mode == L"writable" ? GetFileAttributesW((target + name).c_str()) : 0;
      if (ok && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW((target + name).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
      }
    } else {
      const DWORD flags = mode == L"posix" ? FILE_FLAG_POSIX_SEMANTICS : mode == L"exact" ? ~0u : 0;
      ok = CopyOwn(source + name, target + name, flags);
    }
    if (!ok) ++failed;
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("files=%zu\nbytes=%llu\nfailed=%lu\nms=%.1f\n", names.size(), bytes, failed, ms);
  return failed == 0 ? 0 : 1;
}
