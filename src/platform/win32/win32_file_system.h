// The file system of the running Windows, through the wide-character Win32
// API. Paths arrive as UTF-8 and are converted at each call; error codes are
// those GetLastError gives.
#pragma once

#include <windows.h>

#include "platform/file_system.h"
#include "platform/win32/win32_handles.h"

namespace platform {

class Win32FileSystem : public FileSystem {
 public:
  // The system's FindFirstFileExW, or a stand-in that plays an older Windows.
  using FindFirstFunction = HANDLE(WINAPI*)(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID,
                                            FINDEX_SEARCH_OPS, LPVOID, DWORD);

  // Turns off the system's "There is no disk in the drive" box for the whole
  // process: the source scan probes drives such as A:\ or an empty CD drive,
  // and such a probe must simply fail.
  explicit Win32FileSystem(FindFirstFunction findFirst = &FindFirstFileExW);

  std::string CurrentDirectory() override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  std::vector<DirEntry> Search(const std::string& pattern, SearchFilter filter,
                               std::size_t maxCount = kAllEntries) override;
  std::optional<FileInfo> Info(const std::string& path) override;
  ErrorCode CopyNewFile(const std::string& from, const std::string& to) override;
  // Refuses a read-only target itself, as Windows does, also where the
  // system underneath would replace it.
  ErrorCode MoveReplace(const std::string& from, const std::string& to) override;
  ErrorCode Flush(const std::string& path, std::uint64_t& size) override;
  ErrorCode RemoveFile(const std::string& path) override;
  ErrorCode RemoveFolder(const std::string& path) override;
  ErrorCode ProbeReplace(const std::string& path) override;
  ErrorCode ProbeDelete(const std::string& path) override;
  // Both ask the Restart Manager, where Windows has it (Vista and later): it
  // is loaded from the system folder when first asked.
  std::optional<std::vector<std::string>> FilesHeld(const std::vector<std::string>& paths) override;
  std::vector<std::string> ProgramsHolding(const std::vector<std::string>& paths) override;
  ErrorCode SetAttributes(const std::string& path, std::uint32_t attributes) override;
  ErrorCode CreateFolder(const std::string& path) override;
  // The free bytes that GetDiskFreeSpaceExW gives this user, and the cluster
  // size of the volume that holds `folder` (a mount point's own).
  std::optional<DiskSpace> FreeSpace(const std::string& folder) override;
  // The mutex "Global\KAMBRIX setup installation", seen from every session
  // of the machine; one that another user made (access denied) is taken to
  // be held.
  bool LockInstallations() override;
  void UnlockInstallations() override;
  int LocalYear() override;
  // Opens the file sharing it only with other readers, so that a file some
  // program is still writing is not read half-written.
  ErrorCode ReadWholeFile(const std::string& path, std::string& bytes) override;
  // Writes a temporary file beside the target, flushes it and moves it over
  // the target; on failure the temporary file is deleted again. A name with a
  // character Windows forbids fails at the move with ERROR_INVALID_NAME.
  ErrorCode WriteWholeFile(const std::string& path, std::string_view bytes) override;

 private:
  FindFirstFunction findFirst_;
  ScopedKernelHandle installLock_;
};

}  // namespace platform
