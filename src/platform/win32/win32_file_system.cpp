#include "platform/win32/win32_file_system.h"

#include <windows.h>
#include <restartmanager.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <utility>

#include "platform/win32/system_function.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"
#include "platform/wildcard.h"

namespace platform {

namespace {

// The Restart Manager's calls, from rstrtmgr.dll in the system folder, where
// Windows has it (not before Vista).
class RestartManager {
 public:
  using StartFn = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
  using RegisterFn = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
  using GetListFn = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);
  using EndFn = DWORD(WINAPI*)(DWORD);

  static const RestartManager& Get() {
    static const RestartManager manager;
    return manager;
  }
  bool Available() const {
    return start != nullptr && registerResources != nullptr && getList != nullptr && end != nullptr;
  }

  StartFn start = nullptr;
  RegisterFn registerResources = nullptr;
  GetListFn getList = nullptr;
  EndFn end = nullptr;

 private:
  RestartManager() {
    const HMODULE module = LoadSystemDll(SystemFolder(), L"rstrtmgr.dll");
    start = SystemFunction<StartFn>(module, "RmStartSession");
    registerResources = SystemFunction<RegisterFn>(module, "RmRegisterResources");
    getList = SystemFunction<GetListFn>(module, "RmGetList");
    end = SystemFunction<EndFn>(module, "RmEndSession");
  }
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

// Opens an existing file (a link itself, not what it leads to) for `access`
// and closes it again. Sharing everything, the probe is in no other
// program's way.
ErrorCode Probe(const std::string& path, DWORD access) {
  ScopedFile file(CreateFileW(Widen(path).c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.Valid()) return GetLastError();
  return kOk;
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
  ScopedFind search(FindFirst(findFirst_, Widen(FolderPart(pattern) + wider), data));
  if (!search.Valid()) return found;

  std::uint32_t excluded = filter == SearchFilter::kEverything ? 0 : kAttrHidden | kAttrSystem | kAttrVolumeLabel;
  if (filter == SearchFilter::kPlainFiles) excluded |= kAttrDirectory;
  do {
    const std::wstring_view wideName(data.cFileName);
    if (wideName == L"." || wideName == L"..") continue;
    if ((data.dwFileAttributes & excluded) != 0) continue;
    std::string name = Narrow(wideName);
    if (!WildcardMatch(mask, name)) continue;
    found.push_back({std::move(name), data.dwFileAttributes,
                     (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    if (found.size() >= maxCount) return found;
  } while (FindNextFileW(search.Get(), &data));
  // A search that breaks off part way is as unreadable as one that never began.
  if (GetLastError() != ERROR_NO_MORE_FILES) found.clear();
  return found;
}

std::optional<FileInfo> Win32FileSystem::Info(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileInfo{data.dwFileAttributes,
                  (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

ErrorCode Win32FileSystem::CopyNewFile(const std::string& from, const std::string& to) {
  if (!CopyFileW(Widen(from).c_str(), Widen(to).c_str(), TRUE)) return GetLastError();
  return kOk;
}

ErrorCode Win32FileSystem::MoveReplace(const std::string& from, const std::string& to) {
  const std::wstring target = Widen(to);
  // Windows renames over no read-only file; a system that would (one run
  // with every right) is held to the same rule here.
  const DWORD existing = GetFileAttributesW(target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0) {
    return ERROR_ACCESS_DENIED;
  }
  // Written through: the rename is on the disk when this returns.
  if (!MoveFileExW(Widen(from).c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return GetLastError();
  }
  return kOk;
}

ErrorCode Win32FileSystem::Flush(const std::string& path, std::uint64_t& size) {
  // FlushFileBuffers writes the file's data whichever handle wrote them; it
  // needs a handle that may write.
  ScopedFile file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return GetLastError();
  LARGE_INTEGER length;
  if (!FlushFileBuffers(file.Get()) || !GetFileSizeEx(file.Get(), &length)) return GetLastError();
  size = static_cast<std::uint64_t>(length.QuadPart);
  return kOk;
}

ErrorCode Win32FileSystem::RemoveFile(const std::string& path) {
  if (!DeleteFileW(Widen(path).c_str())) return GetLastError();
  return kOk;
}

ErrorCode Win32FileSystem::RemoveFolder(const std::string& path) {
  if (!RemoveDirectoryW(Widen(path).c_str())) return GetLastError();
  return kOk;
}

ErrorCode Win32FileSystem::ProbeReplace(const std::string& path) {
  // What a replacement needs: writing and deleting.
  return Probe(path, GENERIC_WRITE | DELETE);
}

namespace {

// Asks the Restart Manager which programs hold any of `paths`, adding their
// names to `programs`; nullopt when it cannot tell, else how many there are.
std::optional<std::size_t> AskRestartManager(const std::vector<std::string>& paths,
                                             std::vector<std::string>* programs) {
  const RestartManager& rm = RestartManager::Get();
  if (!rm.Available()) return std::nullopt;
  if (paths.empty()) return 0;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (rm.start(&session, 0, key) != ERROR_SUCCESS) return std::nullopt;
  std::vector<std::wstring> wide;
  for (const auto& path : paths) wide.push_back(Widen(path));
  std::vector<LPCWSTR> names;
  for (const auto& name : wide) names.push_back(name.c_str());
  std::optional<std::size_t> count;
  std::vector<RM_PROCESS_INFO> found(8);
  if (rm.registerResources(session, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0,
                           nullptr) == ERROR_SUCCESS) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      UINT needed = 0;
      UINT listed = static_cast<UINT>(found.size());
      DWORD reasons = 0;
      const DWORD error = rm.getList(session, &needed, &listed, found.data(), &reasons);
      if (error == ERROR_MORE_DATA) {
        found.resize(needed + 4);  // more may have started meanwhile
        continue;
      }
      if (error == ERROR_SUCCESS) {
        count = listed;
        for (UINT i = 0; programs != nullptr && i < listed && i < found.size(); ++i) {
          std::string name = Narrow(found[i].strAppName);
          if (!name.empty() && std::find(programs->begin(), programs->end(), name) == programs->end()) {
            programs->push_back(std::move(name));
          }
        }
      }
      break;
    }
  }
  rm.end(session);
  return count;
}

}  // namespace

std::optional<std::vector<std::string>> Win32FileSystem::FilesHeld(
    const std::vector<std::string>& paths) {
  if (!RestartManager::Get().Available()) return std::nullopt;
  return FindHeld(paths, [](const std::vector<std::string>& part) {
    return AskRestartManager(part, nullptr);
  });
}

std::vector<std::string> Win32FileSystem::ProgramsHolding(const std::vector<std::string>& paths) {
  std::vector<std::string> programs;
  AskRestartManager(paths, &programs);
  return programs;
}

ErrorCode Win32FileSystem::ProbeDelete(const std::string& path) {
  return Probe(path, DELETE | FILE_READ_ATTRIBUTES);
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

std::optional<DiskSpace> Win32FileSystem::FreeSpace(const std::string& folder) {
  const std::wstring wide = Widen(folder);
  wchar_t volume[MAX_PATH + 1];
  ULARGE_INTEGER available;
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  DWORD clusters = 0;
  if (!GetVolumePathNameW(wide.c_str(), volume, MAX_PATH + 1) ||
      !GetDiskFreeSpaceExW(volume, &available, nullptr, nullptr)) {
    return std::nullopt;
  }
  DiskSpace space;
  space.free = available.QuadPart;
  if (GetDiskFreeSpaceW(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
      sectorsPerCluster * bytesPerSector != 0) {
    space.cluster = sectorsPerCluster * bytesPerSector;
  }
  return space;
}

bool Win32FileSystem::LockInstallations() {
  if (installLock_.Valid()) return true;
  ScopedKernelHandle mutex(CreateMutexW(nullptr, FALSE, L"Global\\KAMBRIX setup installation"));
  if (!mutex.Valid()) return false;
  const DWORD waited = WaitForSingleObject(mutex.Get(), 0);
  // WAIT_ABANDONED: the installation that held it was ended; it is ours now.
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return false;
  installLock_ = std::move(mutex);
  return true;
}

void Win32FileSystem::UnlockInstallations() {
  if (!installLock_.Valid()) return;
  ReleaseMutex(installLock_.Get());
  installLock_.Reset();
}

int Win32FileSystem::LocalYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

ErrorCode Win32FileSystem::ReadWholeFile(const std::string& path, std::string& bytes) {
  ScopedFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
  ScopedFile temp(rawFile);

  ErrorCode error = WriteAll(temp.Get(), bytes);
  if (error == kOk && !FlushFileBuffers(temp.Get())) error = GetLastError();
  temp.Reset();
  if (error == kOk && !MoveFileExW(tempPath.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != kOk) DeleteFileW(tempPath.c_str());
  return error;
}

}  // namespace platform
