#include "platform/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <utility>

#include "platform/wide.h"
#include "platform/wildcard.h"

namespace platform {

namespace {

// Owns a file handle (INVALID_HANDLE_VALUE when empty).
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Close() {
    if (Valid()) CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
  }

 private:
  HANDLE handle_;
};

// Owns a search handle from FindFirstFileExW.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (Valid()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Starts a search by FindFirstFileExW, or by `findFirst` standing in for it.
HANDLE FindFirst(Win32FileSystem::FindFirstFunction findFirst, const std::wstring& pattern,
                 WIN32_FIND_DATAW& data) {
  // Without short names and in larger batches the search is quicker, but
  // Windows before 7 refuses to be asked so.
  const HANDLE search = findFirst(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                  nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return search;
  return findFirst(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
}

// WriteFile and ReadFile take a DWORD count; larger buffers go in pieces.
constexpr DWORD kChunk = 1u << 24;

ErrorCode WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), size, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return kOk;
}

// Creates a new, empty file beside `target` under a name no other file has,
// so that two writers never share one.
ErrorCode CreateTempBeside(const std::wstring& target, std::wstring& tempPath, HANDLE& file) {
  const std::size_t slash = target.rfind(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  static std::atomic<unsigned> counter{0};
  const std::wstring process = std::to_wstring(GetCurrentProcessId());
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + L"~wr" + process + L"." + std::to_wstring(++counter) + L".tmp";
    file = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return kOk;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
  }
  return ERROR_FILE_EXISTS;
}

}  // namespace

Win32FileSystem::Win32FileSystem(FindFirstFunction findFirst) : findFirst_(findFirst) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

std::string Win32FileSystem::CurrentDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    buffer.resize(length);  // too small: `length` counts the terminating null
  }
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

std::vector<DirEntry> Win32FileSystem::Search(const std::string& pattern, SearchFilter filter,
                                              std::size_t maxCount) {
  std::vector<DirEntry> found;
  if (maxCount == 0) return found;
  // Windows also matches the mask against 8.3 short names ("*.bib" finds
  // "Plant.bibold" as PLANT~1.BIB), so every long name is matched again.
  // Not every system lets a "?" match nothing at the end of a name (Wine
  // does not), so the system is asked with "*" in its place.
  const std::string mask = NamePart(pattern);
  std::string wider = mask;
  std::replace(wider.begin(), wider.end(), '?', '*');
  WIN32_FIND_DATAW data;
  FindHandle search(FindFirst(findFirst_, Widen(FolderPart(pattern) + wider), data));
  if (!search.Valid()) return found;

  std::uint32_t excluded = kAttrHidden | kAttrSystem | kAttrVolumeLabel;
  if (filter == SearchFilter::kPlainFiles) excluded |= kAttrDirectory;
  do {
    const std::wstring_view wideName(data.cFileName);
    if (wideName == L"." || wideName == L"..") continue;
    if ((data.dwFileAttributes & excluded) != 0) continue;
    std::string name = Narrow(wideName);
    if (!WildcardMatch(mask, name)) continue;
    found.push_back({std::move(name), data.dwFileAttributes});
    if (found.size() >= maxCount) return found;
  } while (FindNextFileW(search.Get(), &data));
  // A search that breaks off part way is as unreadable as one that never began.
  if (GetLastError() != ERROR_NO_MORE_FILES) found.clear();
  return found;
}

ErrorCode Win32FileSystem::CopyFileOver(const std::string& from, const std::string& to) {
  const std::wstring source = Widen(from);
  const std::wstring target = Widen(to);
  // Most targets are new. Asked for a new file, the system looks the name up
  // once; asked to replace, it first looks for the file it would replace,
  // which in a large folder is a search of the folder for a name not there.
  if (CopyFileW(source.c_str(), target.c_str(), TRUE)) return kOk;
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
  // Windows replaces no read-only, hidden or system file; Wine run as root
  // replaces all three, so the rule is kept here.
  const DWORD existing = GetFileAttributesW(target.c_str());
  constexpr DWORD kRefusing = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & kRefusing) != 0) return ERROR_ACCESS_DENIED;
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return GetLastError();
  return kOk;
}

ErrorCode Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  // No attribute at all is spelt FILE_ATTRIBUTE_NORMAL.
  if (!SetFileAttributesW(Widen(path).c_str(), attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL)) {
    return GetLastError();
  }
  return kOk;
}

ErrorCode Win32FileSystem::CreateFolder(const std::string& path) {
  if (!CreateDirectoryW(Widen(path).c_str(), nullptr)) return GetLastError();
  return kOk;
}

int Win32FileSystem::LocalYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

ErrorCode Win32FileSystem::ReadWholeFile(const std::string& path, std::string& bytes) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) return GetLastError();
  std::string content;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.Get(), &size)) content.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return GetLastError();
    if (read == 0) break;
    content.append(buffer, read);
  }
  bytes = std::move(content);
  return kOk;
}

ErrorCode Win32FileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  std::wstring tempPath;
  HANDLE rawFile = INVALID_HANDLE_VALUE;
  if (const ErrorCode error = CreateTempBeside(target, tempPath, rawFile)) return error;
  FileHandle temp(rawFile);

  ErrorCode error = WriteAll(temp.Get(), bytes);
  if (error == kOk && !FlushFileBuffers(temp.Get())) error = GetLastError();
  temp.Close();
  if (error == kOk && !MoveFileExW(tempPath.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != kOk) DeleteFileW(tempPath.c_str());
  return error;
}

}  // namespace platform
