// The one seam between the program and the file system it installs from and
// to. Paths are UTF-8 Windows paths ("\" separators, drive letters); the Win32
// implementation converts them to UTF-16 at each call, the in-memory one keeps
// Windows' rules so that tests of the layers above mean something.
#pragma once

#include <cstddef>
#include <cstdint>
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
  kErrorSharingViolation = 32,
  kErrorDiskFull = 112,
  kErrorInvalidName = 123,
  kErrorAlreadyExists = 183,
};

struct DirEntry {
  std::string name;  // long name, without folder
  std::uint32_t attributes = 0;
};

enum class SearchFilter {
  kPlainFiles,       // leaves out hidden, system, volume-label and folder entries
  kFilesAndFolders,  // leaves out hidden, system and volume-label entries
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

  // Whole-file copy by the file system, as Windows makes it: an existing
  // target is replaced unless it is read-only, hidden or system
  // (kErrorAccessDenied), and the copy carries the source's attributes,
  // read-only included.
  virtual ErrorCode CopyFileOver(const std::string& from, const std::string& to) = 0;

  // Sets the attributes of a file (folder bit excluded); 0 leaves it with none.
  virtual ErrorCode SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

  // Creates one folder; its parent must exist.
  virtual ErrorCode CreateFolder(const std::string& path) = 0;

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

// Copies a file into an installation, where it must end up an ordinary,
// writable file as xcopy leaves one: a read-only copy (every file on a CD is
// read-only) has that attribute cleared and keeps the source's others, and a
// read-only, hidden or system target is replaced too, those attributes
// cleared first and set again when the copy still fails. Attributes are looked at once after a copy that
// succeeded, and on a refused one; returns the copy's error.
ErrorCode CopyWritable(FileSystem& fs, const std::string& from, const std::string& to);

// The folder part of a path, up to and including its last "\" (empty when it
// has none), and the name after it.
std::string FolderPart(std::string_view path);
std::string NamePart(std::string_view path);

}  // namespace platform
