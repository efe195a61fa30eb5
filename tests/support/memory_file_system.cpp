#include "support/memory_file_system.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "platform/unicode.h"
#include "platform/wildcard.h"

namespace platform {

struct MemoryFileSystem::Node {
  std::string name;
  std::uint32_t attributes = 0;
  std::string content;
  bool denied = false;
  bool flushed = true;  // false once copied to, until flushed
  bool unspellable = false;                     // listed with U+FFFD, reached by no name
  std::string link;                             // a link's target, a full path
  std::vector<std::unique_ptr<Node>> children;  // in creation order
  std::map<std::string, Node*> byName;          // upper-cased name -> child

  bool IsFolder() const { return (attributes & kAttrDirectory) != 0; }

  Node* Child(const std::string& childName) const {
    const auto it = byName.find(FileNameUpper(childName));
    return it == byName.end() ? nullptr : it->second;
  }
  // The child as a call asking for it by name finds it.
  Node* Asked(const std::string& childName) const {
    Node* child = Child(childName);
    return child != nullptr && !child->unspellable ? child : nullptr;
  }

  Node* Add(const std::string& childName, std::uint32_t childAttributes) {
    children.push_back(std::make_unique<Node>());
    Node* child = children.back().get();
    child->name = childName;
    child->attributes = childAttributes;
    byName[FileNameUpper(childName)] = child;
    return child;
  }
};

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

char DriveLetter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return (c >= 'A' && c <= 'Z') ? c : 0;
}

// Characters that Windows refuses in a file name.
bool ValidName(const std::string& name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("<>:\"/|?*").find(c) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() = default;
MemoryFileSystem::~MemoryFileSystem() = default;

std::string ResolvedPath::Full() const {
  std::string full = std::string(1, drive) + ":";
  for (const auto& part : parts) full += "\\" + part;
  return parts.empty() ? full + "\\" : full;
}

std::optional<ResolvedPath> ResolveFullPath(const std::string& path) {
  std::string full = path;
  for (char& c : full) {
    if (c == '/') c = '\\';
  }
  ResolvedPath resolved;
  resolved.drive = full.empty() ? 0 : DriveLetter(full[0]);
  if (resolved.drive == 0 || full.size() < 2 || full[1] != ':') return std::nullopt;
  std::size_t pos = 2;
  while (pos <= full.size()) {
    std::size_t end = full.find('\\', pos);
    if (end == std::string::npos) end = full.size();
    const std::string part = full.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!resolved.parts.empty()) resolved.parts.pop_back();
      continue;
    }
    if (!ValidName(part)) return std::nullopt;
    resolved.parts.push_back(part);
  }
  return resolved;
}

std::optional<MemoryFileSystem::Parsed> MemoryFileSystem::Parse(const std::string& path) const {
  if (path.size() >= 2 && path[1] == ':') return ResolveFullPath(path);  // "C:x" from the root
  const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
  if (rooted) return ResolveFullPath(currentDirectory_.substr(0, 2) + path);
  return ResolveFullPath(currentDirectory_ + "\\" + path);
}

MemoryFileSystem::Node* MemoryFileSystem::Root(char drive, bool create) {
  auto it = drives_.find(drive);
  if (it != drives_.end()) return it->second.get();
  if (!create) return nullptr;
  auto root = std::make_unique<Node>();
  root->attributes = kAttrDirectory;
  Node* raw = root.get();
  drives_[drive] = std::move(root);
  return raw;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) const {
  const auto parsed = Parse(path);
  if (!parsed) return nullptr;
  const auto it = drives_.find(parsed->drive);
  Node* node = it == drives_.end() ? nullptr : it->second.get();
  for (const auto& part : parsed->parts) {
    if (node == nullptr || !node->IsFolder()) return nullptr;
    node = node->Child(part);
  }
  return node;
}

ErrorCode MemoryFileSystem::Reach(const std::string& path, Node*& node) const {
  node = nullptr;
  const auto parsed = Parse(path);
  if (!parsed) return kErrorInvalidName;
  const auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end()) {
    return takenOut_.count(parsed->drive) != 0 ? kErrorNotReady : kErrorFileNotFound;
  }
  Node* at = drive->second.get();
  for (std::size_t i = 0; i < parsed->parts.size(); ++i) {
    if (!at->IsFolder()) return kErrorPathNotFound;
    if (at->denied) return kErrorAccessDenied;
    at = at->Asked(parsed->parts[i]);
    if (at == nullptr) return i + 1 == parsed->parts.size() ? kErrorFileNotFound : kErrorPathNotFound;
    // A path through a link goes on where the link leads.
    if (!at->link.empty() && i + 1 < parsed->parts.size()) {
      at = Find(at->link);
      if (at == nullptr) return kErrorPathNotFound;
    }
  }
  node = at;
  return kOk;
}

MemoryFileSystem::Node* MemoryFileSystem::MakePath(const std::string& path, bool leafIsFolder) {
  const auto parsed = Parse(path);
  if (!parsed) throw std::invalid_argument("invalid path: " + path);
  Node* node = Root(parsed->drive, true);
  for (std::size_t i = 0; i < parsed->parts.size(); ++i) {
    const bool last = i + 1 == parsed->parts.size();
    Node* child = node->Child(parsed->parts[i]);
    if (child == nullptr) {
      child = node->Add(parsed->parts[i], last && !leafIsFolder ? kAttrArchive : kAttrDirectory);
      child->unspellable = parsed->parts[i].find(kReplacement) != std::string::npos;
    }
    node = child;
  }
  return node;
}

void MemoryFileSystem::AddDrive(char letter) { Root(DriveLetter(letter), true); }

void MemoryFileSystem::AddLink(const std::string& path, const std::string& target, bool folder) {
  Node* node = MakePath(path, folder);
  node->attributes = (folder ? kAttrDirectory : kAttrArchive) | kAttrReparsePoint;
  node->link = target;
}

void MemoryFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
  MakePath(path, true)->attributes = attributes | kAttrDirectory;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& bytes,
                               std::uint32_t attributes) {
  Node* node = MakePath(path, false);
  node->attributes = attributes & ~kAttrDirectory;
  node->content = bytes;
}

ErrorCode MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  if (node->denied || readOnlyDrives_.count(Parse(path)->drive) != 0) return kErrorAccessDenied;
  node->attributes = (attributes & ~kAttrDirectory) | (node->attributes & kAttrDirectory);
  return kOk;
}

void MemoryFileSystem::Remove(const std::string& path) {
  const auto parsed = Parse(path);
  if (!parsed || parsed->parts.empty()) return;
  Node* parent = Find(FolderPart(parsed->Full()));
  Node* node = Find(path);
  if (parent != nullptr && node != nullptr) Detach(*parent, node);
}

void MemoryFileSystem::LockFile(const std::string& path, const std::string& program) {
  if (const auto parsed = Parse(path)) locked_[FileNameUpper(parsed->Full())] = program;
}

void MemoryFileSystem::Unlock(const std::string& path) {
  if (const auto parsed = Parse(path)) locked_.erase(FileNameUpper(parsed->Full()));
}

void MemoryFileSystem::SetReadOnlyDrive(char letter) {
  readOnlyDrives_.insert(DriveLetter(letter));
}

void MemoryFileSystem::SetDriveCapacity(char letter, std::size_t bytes) {
  capacity_[DriveLetter(letter)] = bytes;
}

void MemoryFileSystem::SetReadError(const std::string& path, bool reportedDone) {
  if (const auto parsed = Parse(path)) readErrors_[FileNameUpper(parsed->Full())] = reportedDone;
}

void MemoryFileSystem::TakeOutAfter(char letter, std::size_t copies) {
  takeOut_.emplace(DriveLetter(letter), copies);
}

void MemoryFileSystem::Deny(const std::string& path) {
  Node* node = Find(path);
  if (node == nullptr) throw std::invalid_argument("no such path: " + path);
  node->denied = true;
}

void MemoryFileSystem::SetFat(char letter) { fatDrives_.insert(DriveLetter(letter)); }

void MemoryFileSystem::StopAfter(std::size_t calls, Stop how) {
  stop_.reset();
  if (calls > 0) stop_.emplace(calls, how);
}

void MemoryFileSystem::Restart() {
  stopped_ = false;
  stop_.reset();
  locked_.clear();
  readErrors_.clear();
  readOnlyDrives_.clear();
  capacity_.clear();
  takeOut_.reset();
  otherInstallation_ = false;
  installationLocked_ = false;
  const std::function<void(Node&)> allow = [&](Node& node) {
    node.denied = false;
    for (auto& child : node.children) allow(*child);
  };
  for (auto& [letter, root] : drives_) allow(*root);
}

bool MemoryFileSystem::Halted(const std::function<void()>& partly) {
  if (stopped_) return true;
  if (!stop_ || --stop_->first != 0) return false;
  if (partly) partly();
  stopped_ = true;
  if (stop_->second == Stop::kPowerCut) {
    const std::function<void(Node&)> cut = [&](Node& node) {
      if (!node.flushed) node.content.assign(node.content.size(), '\0');
      for (auto& child : node.children) cut(*child);
    };
    for (auto& [letter, root] : drives_) cut(*root);
  }
  stop_.reset();
  throw Stopped{};
}

template <typename Map>
const typename Map::mapped_type* MemoryFileSystem::Flagged(const Map& paths,
                                                           const std::string& path) const {
  const auto parsed = Parse(path);
  if (!parsed) return nullptr;
  const auto it = paths.find(FileNameUpper(parsed->Full()));
  return it == paths.end() ? nullptr : &it->second;
}

std::optional<std::string> MemoryFileSystem::FileContent(const std::string& path) const {
  const Node* node = Find(path);
  if (node == nullptr || node->IsFolder()) return std::nullopt;
  return node->content;
}

bool MemoryFileSystem::IsFolder(const std::string& path) const {
  const Node* node = Find(path);
  return node != nullptr && node->IsFolder();
}

std::vector<std::string> MemoryFileSystem::Tree(const std::string& folder) const {
  std::vector<std::string> paths;
  const std::function<void(const Node&, const std::string&)> walk =
      [&](const Node& node, const std::string& prefix) {
        for (const auto& child : node.children) {
          paths.push_back(prefix + child->name);
          if (child->IsFolder()) walk(*child, prefix + child->name + "\\");
        }
      };
  if (const Node* node = Find(folder)) walk(*node, "");
  return paths;
}

std::size_t MemoryFileSystem::UsedBytes(char drive) const {
  std::size_t used = 0;
  const std::function<void(const Node&)> walk = [&](const Node& node) {
    used += node.content.size();
    for (const auto& child : node.children) walk(*child);
  };
  const auto it = drives_.find(drive);
  if (it != drives_.end()) walk(*it->second);
  return used;
}

std::optional<std::uint32_t> MemoryFileSystem::Attributes(const std::string& path) {
  if (Halted()) return std::nullopt;
  Node* node = nullptr;
  if (Reach(path, node) != kOk) return std::nullopt;
  return node->attributes;
}

std::vector<DirEntry> MemoryFileSystem::Search(const std::string& pattern, SearchFilter filter,
                                               std::size_t maxCount) {
  std::vector<DirEntry> found;
  if (Halted()) return found;
  const std::string mask = NamePart(pattern);
  Node* folder = nullptr;
  Reach(FolderPart(pattern).empty() ? "." : FolderPart(pattern), folder);
  if (folder != nullptr && !folder->link.empty()) folder = Find(folder->link);
  if (folder == nullptr || !folder->IsFolder() || folder->denied) return found;
  std::uint32_t excluded = filter == SearchFilter::kEverything ? 0 : kAttrHidden | kAttrSystem | kAttrVolumeLabel;
  if (filter == SearchFilter::kPlainFiles) excluded |= kAttrDirectory;
  for (const auto& child : folder->children) {
    if (found.size() >= maxCount) break;
    if ((child->attributes & excluded) != 0 || !WildcardMatch(mask, child->name)) continue;
    found.push_back({child->name, child->attributes, child->content.size()});
  }
  return found;
}

ErrorCode MemoryFileSystem::PrepareCreate(const std::string& path, Node*& parent,
                                          std::string& name) {
  const auto parsed = Parse(path);
  if (!parsed || parsed->parts.empty()) return kErrorInvalidName;
  if (drives_.count(parsed->drive) == 0) {
    return takenOut_.count(parsed->drive) != 0 ? kErrorNotReady : kErrorPathNotFound;
  }
  if (readOnlyDrives_.count(parsed->drive) != 0) return kErrorAccessDenied;
  const ErrorCode reached = Reach(FolderPart(parsed->Full()), parent);
  if (reached == kErrorAccessDenied || reached == kErrorNotReady) return reached;
  if (parent != nullptr && !parent->link.empty()) parent = Find(parent->link);
  if (parent == nullptr || !parent->IsFolder()) return kErrorPathNotFound;
  if (parent->denied) return kErrorAccessDenied;
  name = parsed->parts.back();
  return kOk;
}

ErrorCode MemoryFileSystem::Replaceable(const std::string& path, const Node* node) const {
  if (node->denied || node->IsFolder() || (node->attributes & kAttrReadOnly) != 0) {
    return kErrorAccessDenied;
  }
  if (Flagged(locked_, path) != nullptr) return kErrorSharingViolation;
  return kOk;
}

std::unique_ptr<MemoryFileSystem::Node> MemoryFileSystem::Detach(Node& parent, const Node* node) {
  parent.byName.erase(FileNameUpper(node->name));
  auto& children = parent.children;
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (it->get() == node) {
      std::unique_ptr<Node> taken = std::move(*it);
      children.erase(it);
      return taken;
    }
  }
  return nullptr;
}

std::optional<std::size_t> MemoryFileSystem::Room(char drive) const {
  const auto limit = capacity_.find(drive);
  if (limit == capacity_.end()) return std::nullopt;
  const std::size_t used = UsedBytes(drive);
  return used < limit->second ? limit->second - used : 0;
}

std::optional<FileInfo> MemoryFileSystem::Info(const std::string& path) {
  if (Halted()) return std::nullopt;
  Node* node = nullptr;
  if (Reach(path, node) != kOk) return std::nullopt;
  return FileInfo{node->attributes, node->IsFolder() ? 0 : node->content.size()};
}

ErrorCode MemoryFileSystem::CopyNewFile(const std::string& from, const std::string& to) {
  journal_.push_back("copy " + from + " -> " + to);
  if (Halted([&] { Copy(from, to, true); })) return kErrorNotReady;
  return Copy(from, to, false);
}

ErrorCode MemoryFileSystem::Copy(const std::string& from, const std::string& to, bool half) {
  if (takeOut_ && takeOut_->second-- == 0) {
    drives_.erase(takeOut_->first);
    takenOut_.insert(takeOut_->first);
    takeOut_.reset();
  }
  Node* source = nullptr;
  if (const ErrorCode error = Reach(from, source)) return error;
  if (!source->link.empty()) source = Find(source->link);  // a link's file is read
  if (source == nullptr) return kErrorFileNotFound;
  if (source->IsFolder() || source->denied) return kErrorAccessDenied;
  if (Flagged(locked_, from) != nullptr) return kErrorSharingViolation;
  Node* parent = nullptr;
  std::string name;
  if (const ErrorCode error = PrepareCreate(to, parent, name)) return error;
  if (parent->Asked(name) != nullptr) return kErrorFileExists;
  // The bytes go in as they are read; a copy that stops part way leaves them.
  std::string bytes = source->content;
  const std::uint32_t attributes = source->attributes & ~kAttrReparsePoint;
  ErrorCode error = kOk;
  if (const bool* reportedDone = Flagged(readErrors_, from)) {
    bytes.resize(bytes.size() / 2);
    if (!*reportedDone) error = kErrorCrc;
  }
  if (half) bytes.resize(bytes.size() / 2);  // the machine stops part way
  if (const auto room = Room(Parse(to)->drive); room && bytes.size() > *room) {
    bytes.resize(*room);
    error = kErrorDiskFull;
  }
  Node* target = parent->Add(name, attributes | kAttrArchive);
  target->content = std::move(bytes);
  target->flushed = false;
  return error;
}

ErrorCode MemoryFileSystem::MoveReplace(const std::string& from, const std::string& to) {
  journal_.push_back("move " + from + " -> " + to);
  if (Halted()) return kErrorNotReady;
  return Rename(from, to);
}

ErrorCode MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  const auto parsedFrom = Parse(from);
  Node* source = nullptr;
  if (const ErrorCode error = Reach(from, source)) return error;
  Node* sourceParent = nullptr;
  Reach(FolderPart(parsedFrom->Full()), sourceParent);
  // A held source cannot be renamed; a read-only one can.
  if (Flagged(locked_, from) != nullptr) return kErrorSharingViolation;
  if (source->denied) return kErrorAccessDenied;
  Node* parent = nullptr;
  std::string name;
  if (const ErrorCode error = PrepareCreate(to, parent, name)) return error;
  if (Parse(to)->drive != parsedFrom->drive) return kErrorNotSameDevice;
  if (Node* existing = parent->Asked(name)) {
    if (existing == source) return kOk;
    const bool fatRefuses = existing->IsFolder() || (existing->attributes & kAttrReadOnly) != 0;
    if (fatRefuses && fatDrives_.count(Parse(to)->drive) != 0) return kErrorAlreadyExists;
    if (const ErrorCode error = Replaceable(to, existing)) return error;
    Detach(*parent, existing);
  }
  std::unique_ptr<Node> moved = Detach(*sourceParent, source);
  moved->name = name;
  parent->byName[FileNameUpper(name)] = moved.get();
  parent->children.push_back(std::move(moved));
  return kOk;
}

ErrorCode MemoryFileSystem::Flush(const std::string& path, std::uint64_t& size) {
  if (Halted()) return kErrorNotReady;
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  // Flushing asks for a handle that may write.
  if (node->IsFolder() || node->denied || (node->attributes & kAttrReadOnly) != 0) {
    return kErrorAccessDenied;
  }
  if (Flagged(locked_, path) != nullptr) return kErrorSharingViolation;
  node->flushed = true;
  size = node->content.size();
  return kOk;
}

ErrorCode MemoryFileSystem::RemoveFile(const std::string& path) {
  journal_.push_back("delete " + path);
  if (Halted()) return kErrorNotReady;
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  if (readOnlyDrives_.count(Parse(path)->drive) != 0) return kErrorAccessDenied;
  if (const ErrorCode error = Replaceable(path, node)) return error;
  Node* parent = nullptr;
  Reach(FolderPart(Parse(path)->Full()), parent);
  Detach(*parent, node);
  return kOk;
}

ErrorCode MemoryFileSystem::RemoveFolder(const std::string& path) {
  journal_.push_back("rmdir " + path);
  if (Halted()) return kErrorNotReady;
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  if (!node->IsFolder()) return kErrorDirectory;
  if (!node->children.empty()) return kErrorDirNotEmpty;
  const auto parsed = Parse(path);
  if (parsed->parts.empty() || readOnlyDrives_.count(parsed->drive) != 0 || node->denied) {
    return kErrorAccessDenied;
  }
  Node* parent = nullptr;
  Reach(FolderPart(parsed->Full()), parent);
  Detach(*parent, node);
  return kOk;
}

ErrorCode MemoryFileSystem::ProbeReplace(const std::string& path) {
  if (Halted()) return kErrorNotReady;
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  // Windows looks at the read-only attribute before the sharing.
  if (node->denied || node->IsFolder() || (node->attributes & kAttrReadOnly) != 0) {
    return kErrorAccessDenied;
  }
  return Flagged(locked_, path) != nullptr ? kErrorSharingViolation : kOk;
}

ErrorCode MemoryFileSystem::ProbeDelete(const std::string& path) {
  if (Halted()) return kErrorNotReady;
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  if (node->denied) return kErrorAccessDenied;
  return Flagged(locked_, path) != nullptr ? kErrorSharingViolation : kOk;
}

std::optional<std::vector<std::string>> MemoryFileSystem::FilesHeld(
    const std::vector<std::string>& paths) {
  if (Halted() || !restartManager_) return std::nullopt;
  std::vector<std::string> held;
  for (const auto& path : paths) {
    if (Flagged(locked_, path) != nullptr) held.push_back(path);
  }
  return held;
}

std::vector<std::string> MemoryFileSystem::ProgramsHolding(const std::vector<std::string>& paths) {
  std::vector<std::string> programs;
  if (Halted()) return programs;
  for (const auto& path : paths) {
    const std::string* program = Flagged(locked_, path);
    if (program == nullptr || program->empty()) continue;
    if (std::find(programs.begin(), programs.end(), *program) == programs.end()) {
      programs.push_back(*program);
    }
  }
  return programs;
}

std::optional<DiskSpace> MemoryFileSystem::FreeSpace(const std::string& folder) {
  if (Halted()) return std::nullopt;
  Node* node = nullptr;
  if (Reach(folder, node) != kOk || !node->IsFolder()) return std::nullopt;
  const auto room = Room(Parse(folder)->drive);
  if (!room) return std::nullopt;
  return DiskSpace{*room, 1};
}

bool MemoryFileSystem::LockInstallations() {
  if (Halted() || otherInstallation_) return false;
  installationLocked_ = true;
  return true;
}

ErrorCode MemoryFileSystem::CreateFolder(const std::string& path) {
  journal_.push_back("mkdir " + path);
  if (Halted()) return kErrorNotReady;
  Node* existing = nullptr;
  const ErrorCode reached = Reach(path, existing);
  if (reached == kOk) return kErrorAlreadyExists;
  if (reached == kErrorInvalidName) return reached;
  Node* parent = nullptr;
  std::string name;
  if (const ErrorCode error = PrepareCreate(path, parent, name)) return error;
  parent->Add(name, kAttrDirectory);
  return kOk;
}

ErrorCode MemoryFileSystem::ReadWholeFile(const std::string& path, std::string& bytes) {
  if (Halted()) return kErrorNotReady;
  Node* node = nullptr;
  if (const ErrorCode error = Reach(path, node)) return error;
  if (node->IsFolder() || node->denied) return kErrorAccessDenied;
  if (!node->link.empty()) node = Find(node->link);
  if (node == nullptr) return kErrorFileNotFound;
  if (Flagged(locked_, path) != nullptr) return kErrorSharingViolation;
  if (Flagged(readErrors_, path) != nullptr) return kErrorCrc;
  bytes = node->content;
  return kOk;
}

ErrorCode MemoryFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  journal_.push_back("write " + path);
  if (stopped_) return kErrorNotReady;
  // As the Win32 writer does: a new file beside the target, flushed and
  // renamed over it. Stopped part way, the new file is left.
  Node* parent = nullptr;
  std::string name;
  const ErrorCode prepared = PrepareCreate(path, parent, name);
  Halted([&] {
    if (prepared != kOk) return;
    Node* temp = parent->Add("~wr1." + std::to_string(++writes_) + ".tmp", kAttrArchive);
    temp->content = std::string(bytes.substr(0, bytes.size() / 2));
    temp->flushed = false;
  });
  if (prepared != kOk) return prepared;
  Node* existing = parent->Asked(name);
  if (existing != nullptr) {
    if (const ErrorCode error = Replaceable(path, existing)) return error;
  }
  const auto room = Room(Parse(path)->drive);
  if (room && bytes.size() > *room) return kErrorDiskFull;
  if (existing != nullptr) Detach(*parent, existing);
  parent->Add(name, kAttrArchive)->content = std::string(bytes);
  return kOk;
}

}  // namespace platform
