// The one seam between the program and the file system it installs from and
// to. Paths are UTF-8 Windows paths ("\" separators, drive letters); the Win32
// implementation converts them to UTF-16 at each call, the in-memory one keeps
// Windows' rules so that tests of the layers above mean something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// File attribute bits, with the values Windows gives them.
enum : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrVolumeLabel = 0x08,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrReparsePoint = 0x400,  // a junction, a symbolic link or a mount point
};

// A Windows system error code; 0 is success.
using ErrorCode = std::uint32_t;
enum : ErrorCode {
  kOk = 0,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorAccessDenied = 5,
  kErrorNotReady = 21,  // no disc in the drive, or a drive that has gone away
  kErrorCrc = 23,       // a read error: the data on the medium cannot be read
  kErrorNotSameDevice = 17,
  kErrorWriteFault = 29,
  kErrorSharingViolation = 32,  // another program holds the file open
  kErrorLockViolation = 33,     // another program has locked part of the file
  kErrorFileExists = 80,
  kErrorDiskFull = 112,
  kErrorInvalidName = 123,
  kErrorDirNotEmpty = 145,
  kErrorAlreadyExists = 183,
  kErrorDirectory = 267,  // a folder was asked for and this is none
};

struct FileInfo {
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
};

// Room on a volume: the bytes this user may still write there (disk quotas
// counted), and the size of its clusters, in which files take up room.
struct DiskSpace {
  std::uint64_t free = 0;
  std::uint32_t cluster = 4096;
};

struct DirEntry {
  std::string name;  // long name, without folder
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;  // of a file
};

enum class SearchFilter {
  kPlainFiles,       // leaves out hidden, system, volume-label and folder entries
  kFilesAndFolders,  // leaves out hidden, system and volume-label entries
  kEverything,       // every entry but "." and ".."
};

constexpr std::size_t kAllEntries = std::numeric_limits<std::size_t>::max();

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The process's current directory, as Windows reports it (no trailing "\"
  // except at a drive root).
  virtual std::string CurrentDirectory() = 0;

  // Attributes of the file or folder at `path`; nullopt when they cannot be
  // read (missing, empty drive, invalid name).
  virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;

  // Entries of one folder whose long names match the wildcard in the last
  // part of `pattern` (see WildcardMatch), in the order the file system
  // returns them, at most `maxCount`. Any failure (missing folder, unreadable
  // drive) yields an empty list. The search is closed before this returns.
  virtual std::vector<DirEntry> Search(const std::string& pattern, SearchFilter filter,
                                       std::size_t maxCount = kAllEntries) = 0;

  // Attributes and size of the file or folder at `path` (a link's own, not
  // what it points to); nullopt when they cannot be read.
  virtual std::optional<FileInfo> Info(const std::string& path) = 0;

  // Whole-file copy by the file system to a name that is not taken yet
  // (kErrorFileExists, or kErrorAlreadyExists, when it is); the copy carries
  // the source's attributes, read-only included. A copy that fails part way
  // (a full disk, a read error, the disc taken out) may leave the target
  // short, as Windows does; some systems even report such a copy done.
  virtual ErrorCode CopyNewFile(const std::string& from, const std::string& to) = 0;

  // Renames a file over another in the same volume in one step, as
  // MoveFileEx with MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH: a
  // link in place of `to` is replaced, not followed. A read-only or held
  // target, or a folder, is refused and stays as it was (FAT answers
  // kErrorAlreadyExists for a folder or a read-only file, NTFS
  // kErrorAccessDenied). The rename is kept by the volume's journal; the
  // data of `from` are not, unless flushed first (Flush).
  virtual ErrorCode MoveReplace(const std::string& from, const std::string& to) = 0;

  // Writes what the system still holds of the file's data to the disk
  // (FlushFileBuffers), and tells the file's size. Until then a power cut
  // may leave the file at its size but with zeros where its data were.
  virtual ErrorCode Flush(const std::string& path, std::uint64_t& size) = 0;

  // Deletes a file, or an empty folder. A held file is refused.
  virtual ErrorCode RemoveFile(const std::string& path) = 0;
  virtual ErrorCode RemoveFolder(const std::string& path) = 0;

  // Opens an existing file for writing and deleting, sharing everything, and
  // closes it again, changing nothing: kErrorSharingViolation (or
  // kErrorLockViolation) when another program holds it so that it cannot be
  // replaced. Windows looks at the read-only attribute before the sharing:
  // a read-only file answers kErrorAccessDenied, held or not.
  virtual ErrorCode ProbeReplace(const std::string& path) = 0;

  // Opens an existing file for deleting only, sharing everything, and closes
  // it again: what renaming over it asks of it, which the read-only
  // attribute does not refuse. kErrorSharingViolation when a program holds
  // it so that it cannot be renamed over.
  virtual ErrorCode ProbeDelete(const std::string& path) = 0;

  // Those of `paths` that a running program holds, as far as the system can
  // tell without opening them (the Restart Manager, from Vista on); nullopt
  // where it cannot tell.
  virtual std::optional<std::vector<std::string>> FilesHeld(
      const std::vector<std::string>& paths) = 0;

  // The programs that hold any of `paths` open, as far as the system can
  // tell (names as the user knows them); empty where it cannot.
  virtual std::vector<std::string> ProgramsHolding(const std::vector<std::string>& paths) = 0;

  // Sets the attributes of a file (folder bit excluded); 0 leaves it with none.
  virtual ErrorCode SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

  // Creates one folder; its parent must exist.
  virtual ErrorCode CreateFolder(const std::string& path) = 0;

  // The room on the volume that holds `folder`, an existing folder; nullopt
  // when it cannot be told.
  virtual std::optional<DiskSpace> FreeSpace(const std::string& folder) = 0;

  // Takes the one lock that every installation on this machine holds while
  // it writes, whoever runs it (a named mutex): false while another holds
  // it. A lock whose holder ended without letting it go (killed) is taken
  // over. Taken and let go on the same thread.
  virtual bool LockInstallations() = 0;
  virtual void UnlockInstallations() = 0;

  // The four-digit year of the local date.
  virtual int LocalYear() = 0;

  // Reads a whole file. Fails while another process holds the file open for
  // writing.
  virtual ErrorCode ReadWholeFile(const std::string& path, std::string& bytes) = 0;

  // Writes a whole file, replacing an existing one in a single step: on any
  // failure the previous file is still there, whole, and no partial or
  // temporary file is left behind.
  virtual ErrorCode WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
};

// A folder exists when its attributes can be read and carry the folder bit.
bool FolderExists(FileSystem& fs, const std::string& path);

// A file exists when its attributes can be read and it is not a folder;
// hidden and system files count, and its time stamp does not matter.
bool FileExists(FileSystem& fs, const std::string& path);

// Those of `paths` that `count` finds held, asking it about all of them at
// once and, only where some are held, about halves of them again, so that
// the usual answer (none) costs one question; nullopt once `count` cannot
// tell (nullopt).
std::optional<std::vector<std::string>> FindHeld(
    const std::vector<std::string>& paths,
    const std::function<std::optional<std::size_t>(const std::vector<std::string>&)>& count);

// The folder part of a path, up to and including its last "\" or "/" (empty
// when it has neither), and the name after it: Windows takes both as
// separators.
std::string FolderPart(std::string_view path);
std::string NamePart(std::string_view path);

}  // namespace platform
