#include "platform/memory_file_system.h"

#include <gmock/gmock.h>

#include "platform/file_system_contract.h"

namespace platform_test {
namespace {

using ::testing::ElementsAre;

class MemoryScene : public ContractScene {
 public:
  MemoryScene() { fs_.AddFolder("C:\\work"); }
  platform::FileSystem& Fs() override { return fs_; }
  std::string Root() override { return "C:\\work"; }
  void SetAttributes(const std::string& path, std::uint32_t attributes) override {
    fs_.SetAttributes(path, attributes);
  }
  void HoldOpen(const std::string& path) override { fs_.LockFile(path); }

 private:
  platform::MemoryFileSystem fs_;
};

std::unique_ptr<ContractScene> MakeMemoryScene() { return std::make_unique<MemoryScene>(); }

INSTANTIATE_TEST_SUITE_P(Memory, FileSystemContract, ::testing::Values(&MakeMemoryScene),
                         [](const auto&) { return std::string("InMemory"); });

TEST(MemoryFileSystem, ListsEntriesInCreationOrderAndResolvesDotDot) {
  platform::MemoryFileSystem fs;
  fs.AddFile("E:\\config\\b.cfg");
  fs.AddFile("E:\\config\\a.cfg");
  fs.AddFile("E:\\config\\C.CFG");
  std::vector<std::string> names;
  for (const auto& entry : fs.Search("E:\\prog\\..\\config\\*.cfg", platform::SearchFilter::kPlainFiles)) {
    names.push_back(entry.name);
  }
  EXPECT_THAT(names, ElementsAre("b.cfg", "a.cfg", "C.CFG"));
  EXPECT_THAT(fs.Tree("e:\\"), ElementsAre("config", "config\\b.cfg", "config\\a.cfg", "config\\C.CFG"));
}

TEST(MemoryFileSystem, RelativePathsFollowTheCurrentDirectory) {
  platform::MemoryFileSystem fs;
  fs.AddFile("E:\\cd\\Install.dat", "x");
  fs.SetCurrentDirectory("E:\\cd");
  EXPECT_TRUE(platform::FileExists(fs, "install.dat"));
  EXPECT_TRUE(platform::FileExists(fs, "\\cd\\Install.dat"));
  EXPECT_FALSE(platform::FolderExists(fs, "D:\\"));
}

TEST(MemoryFileSystem, FaultsOnDemandAndAJournalOfEveryRequest) {
  platform::MemoryFileSystem fs;
  fs.AddFile("E:\\src.bin", "12345");
  fs.AddDrive('C');
  fs.AddDrive('D');
  fs.SetReadOnlyDrive('D');
  fs.SetDriveCapacity('C', 8);

  EXPECT_EQ(platform::kErrorAccessDenied, fs.CreateFolder("D:\\x"));
  EXPECT_EQ(platform::kOk, fs.CopyFileOver("E:\\src.bin", "C:\\a.bin"));
  EXPECT_EQ(platform::kErrorDiskFull, fs.CopyFileOver("E:\\src.bin", "C:\\b.bin"));
  EXPECT_EQ(platform::kOk, fs.CopyFileOver("E:\\src.bin", "C:\\a.bin"));  // replacing frees the old bytes
  EXPECT_EQ(platform::kErrorInvalidName, fs.WriteWholeFile("C:\\a?.bib", ""));
  EXPECT_FALSE(fs.FileContent("C:\\b.bin"));
  EXPECT_THAT(fs.Journal(), ElementsAre("mkdir D:\\x", "copy E:\\src.bin -> C:\\a.bin",
                                        "copy E:\\src.bin -> C:\\b.bin",
                                        "copy E:\\src.bin -> C:\\a.bin", "write C:\\a?.bib"));
}

// As on Windows: the attributes of a denied file or folder can be read, but
// the file cannot be opened, and nothing in the folder can be reached.
TEST(MemoryFileSystem, DeniedFilesAndFoldersShowOnlyTheirOwnAttributes) {
  platform::MemoryFileSystem fs;
  fs.AddFile("E:\\denied\\in.txt", "x");
  fs.AddFile("E:\\denied.txt", "y");
  fs.AddFile("C:\\t\\open.txt", "z");
  fs.Deny("E:\\denied");
  fs.Deny("E:\\denied.txt");
  EXPECT_TRUE(platform::FolderExists(fs, "E:\\denied"));
  EXPECT_TRUE(platform::FileExists(fs, "E:\\denied.txt"));
  EXPECT_FALSE(fs.Attributes("E:\\denied\\in.txt"));
  EXPECT_TRUE(fs.Search("E:\\denied\\*", platform::SearchFilter::kFilesAndFolders).empty());
  EXPECT_EQ(platform::kErrorAccessDenied, fs.CreateFolder("E:\\denied\\new"));
  std::string bytes;
  for (const char* path : {"E:\\denied\\in.txt", "E:\\denied.txt"}) {
    EXPECT_EQ(platform::kErrorAccessDenied, fs.ReadWholeFile(path, bytes)) << path;
    EXPECT_EQ(platform::kErrorAccessDenied, fs.CopyFileOver(path, "C:\\t\\copy")) << path;
    EXPECT_EQ(platform::kErrorAccessDenied, fs.CopyFileOver("C:\\t\\open.txt", path)) << path;
  }
  EXPECT_EQ("y", fs.FileContent("E:\\denied.txt"));
}

}  // namespace
}  // namespace platform_test
