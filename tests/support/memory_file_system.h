// An in-memory file system with Windows' rules: drive letters, "\" paths,
// names compared as Windows compares them (FileNameUpper), attributes,
// folder entries listed in the order they were made, a settable clock, and
// faults on demand. It keeps a journal of every folder creation, copy and
// write asked of it, so that tests can pin the order of an installation.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// A full path "X:\a\..\b" as Windows resolves it: "/" read as "\", empty,
// "." and ".." parts taken away; nothing where it has no drive letter and
// ":" in front or a part holds a character Windows refuses in a name.
struct ResolvedPath {
  char drive = 0;                  // upper case
  std::vector<std::string> parts;  // names below the drive root
  std::string Full() const;        // "X:\a\b", and "X:\" for the root
};
std::optional<ResolvedPath> ResolveFullPath(const std::string& path);

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;

  // Setting the scene. Missing parent folders are made; a drive is made by
  // the first path on it. A name with U+FFFD in it stands for one that
  // Windows lists with an unpaired UTF-16 surrogate: a search gives it with
  // U+FFFD, as the conversion to UTF-8 does, but no call reaches it by that
  // name (kErrorFileNotFound). Names made through the FileSystem calls are
  // ordinary ones.
  void AddDrive(char letter);
  void AddFolder(const std::string& path, std::uint32_t attributes = kAttrDirectory);
  void AddFile(const std::string& path, const std::string& bytes = {},
               std::uint32_t attributes = kAttrArchive);
  void Remove(const std::string& path);  // a file, or a folder with all it holds
  // A junction (folder) or symbolic link (file) at `path` that leads to
  // `target`, a full path: a path through the folder reaches what `target`
  // holds, a file opened through the link is the target's; the link itself
  // is listed with kAttrReparsePoint and is what a rename or delete acts on.
  void AddLink(const std::string& path, const std::string& target, bool folder);
  void SetCurrentDirectory(const std::string& path) { currentDirectory_ = path; }
  void SetYear(int year) { year_ = year; }

  // Faults: a locked file is held open by `program` without sharing, so that
  // it cannot be read, copied, written, renamed over, replaced or deleted;
  // a read-only drive refuses every change; a capacity bounds the bytes that
  // a drive can hold, and a copy that does not fit leaves what fitted, as
  // Windows does; a file with a read error fails part way through a copy
  // (kErrorCrc, half of it copied), or, `reportedDone`, leaves the half and
  // says the copy is done, as Wine does; a drive taken out (a disc, a share
  // that drops) is gone, with all it holds, once `copies` more copies have
  // been asked for, and then answers kErrorNotReady. A denied file or folder
  // (its access list shuts the user out) keeps its own attributes readable,
  // as Windows reads them through the folder that holds it; but a denied
  // file cannot be opened (read, copied from or over, written, its
  // attributes set), and a denied folder cannot be listed nor anything in it
  // reached, all with kErrorAccessDenied. The path must exist.
  void LockFile(const std::string& path, const std::string& program = "");
  void Unlock(const std::string& path);
  void SetReadOnlyDrive(char letter);
  void SetDriveCapacity(char letter, std::size_t bytes);
  void SetReadError(const std::string& path, bool reportedDone = false);
  void TakeOutAfter(char letter, std::size_t copies);
  void Deny(const std::string& path);
  // A FAT drive answers a rename over a folder or a read-only file with
  // kErrorAlreadyExists, where NTFS answers kErrorAccessDenied.
  void SetFat(char letter);
  // A Windows without the Restart Manager (XP): FilesHeld cannot tell.
  void SetRestartManager(bool present) { restartManager_ = present; }
  // Another installation holds the lock that installations take turns at.
  void SetOtherInstallation(bool running) { otherInstallation_ = running; }

  // The machine stops at the `calls`-th call of the FileSystem interface
  // from now (1 for the next; 0 for none), which throws Stopped: a copy under way leaves
  // the half it made, a whole-file write under way leaves its temporary
  // file beside the target. A power cut keeps the names as the volume's
  // journal keeps them, but the data written since a file's last flush are
  // lost: it keeps its size and reads as zeros. A kill keeps the data.
  // Once stopped, every call fails (kErrorNotReady) without throwing, until
  // Restart, which also ends every fault above and lets go of the
  // installations' lock, as a machine started anew does.
  enum class Stop { kPowerCut, kKill };
  struct Stopped {};
  void StopAfter(std::size_t calls, Stop how);
  void Restart();
  bool HasStopped() const { return stopped_; }

  // Looking at the result.
  std::optional<std::string> FileContent(const std::string& path) const;
  bool IsFolder(const std::string& path) const;
  // Every path under `folder` (files and folders, depth first in entry
  // order), relative to it.
  std::vector<std::string> Tree(const std::string& folder) const;
  // "mkdir <path>", "copy <from> -> <to>", "move <from> -> <to>", "delete
  // <path>", "rmdir <path>" and "write <path>", in the order asked, whether
  // or not they succeeded.
  const std::vector<std::string>& Journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

  std::string CurrentDirectory() override { return currentDirectory_; }
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  std::vector<DirEntry> Search(const std::string& pattern, SearchFilter filter,
                               std::size_t maxCount = kAllEntries) override;
  std::optional<FileInfo> Info(const std::string& path) override;
  ErrorCode CopyNewFile(const std::string& from, const std::string& to) override;
  ErrorCode MoveReplace(const std::string& from, const std::string& to) override;
  ErrorCode Flush(const std::string& path, std::uint64_t& size) override;
  ErrorCode RemoveFile(const std::string& path) override;
  ErrorCode RemoveFolder(const std::string& path) override;
  ErrorCode ProbeReplace(const std::string& path) override;
  ErrorCode ProbeDelete(const std::string& path) override;
  std::optional<std::vector<std::string>> FilesHeld(const std::vector<std::string>& paths) override;
  std::vector<std::string> ProgramsHolding(const std::vector<std::string>& paths) override;
  ErrorCode SetAttributes(const std::string& path, std::uint32_t attributes) override;
  ErrorCode CreateFolder(const std::string& path) override;
  // A drive with a capacity has the room it has left, in clusters of one
  // byte; one without has no room that can be told.
  std::optional<DiskSpace> FreeSpace(const std::string& folder) override;
  bool LockInstallations() override;
  void UnlockInstallations() override { installationLocked_ = false; }
  int LocalYear() override { return year_; }
  ErrorCode ReadWholeFile(const std::string& path, std::string& bytes) override;
  ErrorCode WriteWholeFile(const std::string& path, std::string_view bytes) override;

 private:
  struct Node;
  using Parsed = ResolvedPath;

  // `path` resolved, a relative one against the current directory.
  std::optional<Parsed> Parse(const std::string& path) const;
  // The node at `path` as the tests look at it: every name reached, no fault.
  Node* Find(const std::string& path) const;
  // The node at `path` as a program asking for it reaches it, or why not:
  // an invalid name, a drive taken out, a denied folder on the way, a missing
  // folder on the way (kErrorPathNotFound) or a missing last part.
  ErrorCode Reach(const std::string& path, Node*& node) const;
  Node* Root(char drive, bool create);
  Node* MakePath(const std::string& path, bool leafIsFolder);
  // The folder that a new entry `path` goes into, and its name, or why it
  // cannot be made there.
  ErrorCode PrepareCreate(const std::string& path, Node*& parent, std::string& name);
  // Whether `node`, a file reached as `path`, may be replaced or deleted.
  ErrorCode Replaceable(const std::string& path, const Node* node) const;
  // Unlinks `node` from `parent` and hands it over.
  static std::unique_ptr<Node> Detach(Node& parent, const Node* node);
  // Bytes that drive `drive` can still take; none is a limit only when set.
  std::optional<std::size_t> Room(char drive) const;
  // Counts one call towards a stop; true when the machine has stopped
  // before it (the call then fails). Throws Stopped at the stopping call,
  // after `partly` has left what that call leaves.
  bool Halted(const std::function<void()>& partly = {});
  ErrorCode Copy(const std::string& from, const std::string& to, bool half);
  ErrorCode Rename(const std::string& from, const std::string& to);
  std::size_t UsedBytes(char drive) const;
  template <typename Map>
  const typename Map::mapped_type* Flagged(const Map& paths, const std::string& path) const;

  std::map<char, std::unique_ptr<Node>> drives_;
  std::map<std::string, std::string> locked_;  // upper-cased full path -> program
  std::map<std::string, bool> readErrors_;     // upper-cased full path -> reported done
  std::set<char> readOnlyDrives_;
  std::set<char> fatDrives_;
  bool restartManager_ = true;
  bool otherInstallation_ = false;
  bool installationLocked_ = false;
  std::optional<std::pair<std::size_t, Stop>> stop_;  // calls until it, how
  bool stopped_ = false;
  unsigned writes_ = 0;  // temporary files of whole-file writes
  std::set<char> takenOut_;
  std::optional<std::pair<char, std::size_t>> takeOut_;  // drive, copies until it goes
  std::map<char, std::size_t> capacity_;
  std::vector<std::string> journal_;
  std::string currentDirectory_ = "C:\\";
  int year_ = 2005;
};

}  // namespace platform
