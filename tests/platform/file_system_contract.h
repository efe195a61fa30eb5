// The behaviour every FileSystem must show, run against the in-memory one
// natively and against the Win32 one under Wine on real folders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform_test {

// The names of the entries of a search, in its order.
inline std::vector<std::string> Names(const std::vector<platform::DirEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

// A file system with one empty folder to work in.
class ContractScene {
 public:
  virtual ~ContractScene() = default;
  virtual platform::FileSystem& Fs() = 0;
  // An existing, empty folder; no trailing "\".
  virtual std::string Root() = 0;
  virtual void SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // Holds the file open without sharing, as another process would, until
  // the scene ends.
  virtual void HoldOpen(const std::string& path) = 0;
};

using SceneFactory = std::unique_ptr<ContractScene> (*)();

class FileSystemContract : public ::testing::TestWithParam<SceneFactory> {
 protected:
  void SetUp() override {
    scene_ = GetParam()();
    root_ = scene_->Root();
  }
  platform::FileSystem& fs() { return scene_->Fs(); }
  std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }
  void Write(const std::string& relative, const std::string& bytes = "x") {
    ASSERT_EQ(platform::kOk, fs().WriteWholeFile(Path(relative), bytes)) << relative;
  }
  void Folder(const std::string& relative) {
    ASSERT_EQ(platform::kOk, fs().CreateFolder(Path(relative))) << relative;
  }
  std::string Read(const std::string& relative) {
    std::string bytes;
    EXPECT_EQ(platform::kOk, fs().ReadWholeFile(Path(relative), bytes)) << relative;
    return bytes;
  }

  std::unique_ptr<ContractScene> scene_;
  std::string root_;
};

}  // namespace platform_test
