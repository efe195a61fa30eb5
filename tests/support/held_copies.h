// A file system whose copies are counted and, from a chosen one on, wait at a
// gate until the test opens it: the test knows then that the copies are
// under way, and holds them there while it looks. Everything else goes to
// the file system it wraps.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/file_system.h"

namespace test_support {

class HeldCopies : public platform::FileSystem {
 public:
  explicit HeldCopies(platform::FileSystem& inner) : inner_(inner) {}

  // The copies from the `first`-th on (counting from 1) wait at the gate.
  void HoldFrom(int first);
  // Lets every copy through, now and later.
  void Open();
  // Waits until `count` copies have begun (the last may be waiting at the
  // gate); false when they have not within a generous while.
  bool WaitForCopies(int count);
  int Copies();
  int Finished();

  platform::ErrorCode CopyNewFile(const std::string& from, const std::string& to) override;

  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    return inner_.Attributes(path);
  }
  std::vector<platform::DirEntry> Search(const std::string& pattern, platform::SearchFilter filter,
                                         std::size_t maxCount) override {
    return inner_.Search(pattern, filter, maxCount);
  }
  std::optional<platform::FileInfo> Info(const std::string& path) override { return inner_.Info(path); }
  platform::ErrorCode MoveReplace(const std::string& from, const std::string& to) override {
    return inner_.MoveReplace(from, to);
  }
  platform::ErrorCode Flush(const std::string& path, std::uint64_t& size) override {
    return inner_.Flush(path, size);
  }
  platform::ErrorCode RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }
  platform::ErrorCode RemoveFolder(const std::string& path) override { return inner_.RemoveFolder(path); }
  platform::ErrorCode ProbeReplace(const std::string& path) override { return inner_.ProbeReplace(path); }
  platform::ErrorCode ProbeDelete(const std::string& path) override { return inner_.ProbeDelete(path); }
  std::optional<std::vector<std::string>> FilesHeld(const std::vector<std::string>& paths) override {
    return inner_.FilesHeld(paths);
  }
  std::optional<platform::DiskSpace> FreeSpace(const std::string& folder) override {
    return inner_.FreeSpace(folder);
  }
  bool LockInstallations() override { return inner_.LockInstallations(); }
  void UnlockInstallations() override { inner_.UnlockInstallations(); }
  std::vector<std::string> ProgramsHolding(const std::vector<std::string>& paths) override {
    return inner_.ProgramsHolding(paths);
  }
  platform::ErrorCode SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return inner_.SetAttributes(path, attributes);
  }
  platform::ErrorCode CreateFolder(const std::string& path) override { return inner_.CreateFolder(path); }
  int LocalYear() override { return inner_.LocalYear(); }
  platform::ErrorCode ReadWholeFile(const std::string& path, std::string& bytes) override {
    return inner_.ReadWholeFile(path, bytes);
  }
  platform::ErrorCode WriteWholeFile(const std::string& path, std::string_view bytes) override {
    return inner_.WriteWholeFile(path, bytes);
  }

 private:
  platform::FileSystem& inner_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int copies_ = 0;
  int finished_ = 0;
  int holdFrom_ = 0;  // 0: none held
};

}  // namespace test_support
