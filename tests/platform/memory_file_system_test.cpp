#include "support/memory_file_system.h"

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
  for (const char* unreadable : {"E:\\bad.bin", "E:\\lies.bin"}) fs.AddFile(unreadable, "abcdef");
  fs.SetReadError("E:\\bad.bin");
  fs.SetReadError("E:\\lies.bin", true);
  fs.AddDrive('C');
  fs.AddDrive('D');
  fs.SetReadOnlyDrive('D');
  fs.SetDriveCapacity('C', 8);

  EXPECT_EQ(platform::kErrorAccessDenied, fs.CreateFolder("D:\\x"));
  EXPECT_EQ(platform::kOk, fs.CopyNewFile("E:\\src.bin", "C:\\a.bin"));
  // As Windows leaves them: what was written before the disk filled up, or
  // before the read broke off, reported or not.
  EXPECT_EQ(platform::kErrorDiskFull, fs.CopyNewFile("E:\\src.bin", "C:\\b.bin"));
  EXPECT_EQ("123", fs.FileContent("C:\\b.bin"));
  EXPECT_EQ(platform::kOk, fs.RemoveFile("C:\\b.bin"));
  EXPECT_EQ(platform::kErrorCrc, fs.CopyNewFile("E:\\bad.bin", "C:\\c.bin"));
  EXPECT_EQ("abc", fs.FileContent("C:\\c.bin"));
  EXPECT_EQ(platform::kOk, fs.RemoveFile("C:\\c.bin"));
  EXPECT_EQ(platform::kOk, fs.CopyNewFile("E:\\lies.bin", "C:\\d.bin"));
  EXPECT_EQ("abc", fs.FileContent("C:\\d.bin"));
  EXPECT_EQ(platform::kErrorInvalidName, fs.WriteWholeFile("C:\\a?.bib", ""));
  EXPECT_EQ(platform::kErrorNotSameDevice, fs.MoveReplace("C:\\a.bin", "E:\\src.bin"));
  EXPECT_THAT(fs.Journal(), ElementsAre("mkdir D:\\x", "copy E:\\src.bin -> C:\\a.bin",
                                        "copy E:\\src.bin -> C:\\b.bin", "delete C:\\b.bin",
                                        "copy E:\\bad.bin -> C:\\c.bin", "delete C:\\c.bin",
                                        "copy E:\\lies.bin -> C:\\d.bin", "write C:\\a?.bib",
                                        "move C:\\a.bin -> E:\\src.bin"));
}

// A power cut keeps every name as the volume's journal keeps it, but a
// file's data only as far as they were flushed: the rest reads as zeros. A
// kill keeps the data. A copy under way leaves half its file, a whole-file
// write under way its temporary file; nothing works until the restart.
TEST(MemoryFileSystem, AStoppedMachineLosesWhatWasNotFlushed) {
  using Stop = platform::MemoryFileSystem::Stop;
  for (const Stop how : {Stop::kPowerCut, Stop::kKill}) {
    const bool cut = how == Stop::kPowerCut;
    platform::MemoryFileSystem fs;
    fs.AddFile("E:\\src.bin", "123456");
    fs.AddFile("C:\\old.bin", "old");
    fs.CopyNewFile("E:\\src.bin", "C:\\flushed.bin");
    std::uint64_t size = 0;
    fs.Flush("C:\\flushed.bin", size);
    fs.CopyNewFile("E:\\src.bin", "C:\\new.tmp");
    fs.MoveReplace("C:\\new.tmp", "C:\\old.bin");
    fs.StopAfter(1, how);
    EXPECT_THROW(fs.CopyNewFile("E:\\src.bin", "C:\\half.bin"), platform::MemoryFileSystem::Stopped);
    EXPECT_EQ(platform::kErrorNotReady, fs.RemoveFile("C:\\old.bin"));
    EXPECT_EQ("123456", fs.FileContent("C:\\flushed.bin"));
    EXPECT_EQ(cut ? std::string(6, '\0') : "123456", fs.FileContent("C:\\old.bin"));
    EXPECT_EQ(cut ? std::string(3, '\0') : "123", fs.FileContent("C:\\half.bin"));
    fs.Restart();
    EXPECT_EQ(platform::kOk, fs.RemoveFile("C:\\old.bin"));
    fs.StopAfter(2, how);
    fs.Attributes("C:\\");
    EXPECT_THROW(fs.WriteWholeFile("C:\\x.bib", "abcd"), platform::MemoryFileSystem::Stopped);
    EXPECT_FALSE(fs.FileContent("C:\\x.bib"));
    EXPECT_EQ(cut ? std::string(2, '\0') : "ab", fs.FileContent("C:\\~wr1.1.tmp"));
  }
}

// A junction or symbolic link leads elsewhere for what goes through it, but
// is itself what a listing shows and a rename replaces.
TEST(MemoryFileSystem, LinksLeadElsewhereButAreReplacedThemselves) {
  platform::MemoryFileSystem fs;
  fs.AddFile("C:\\Windows\\win.ini", "system");
  fs.AddFile("C:\\elsewhere\\real.exe", "real");
  fs.AddLink("C:\\T\\MSinfo", "C:\\Windows", true);
  fs.AddLink("C:\\T\\delviq.exe", "C:\\elsewhere\\real.exe", false);
  fs.AddFile("C:\\T\\new.exe", "new");
  fs.LockFile("C:\\T\\held.exe", "sarnok");

  EXPECT_EQ(platform::kOk, fs.WriteWholeFile("C:\\T\\MSinfo\\ABC.html", "page"));
  EXPECT_EQ("page", fs.FileContent("C:\\Windows\\ABC.html"));
  const auto link = fs.Info("C:\\T\\MSinfo");
  ASSERT_TRUE(link);
  EXPECT_EQ(platform::kAttrDirectory | platform::kAttrReparsePoint, link->attributes);
  EXPECT_EQ(platform::kErrorFileExists, fs.CopyNewFile("C:\\T\\new.exe", "C:\\T\\delviq.exe"));
  EXPECT_EQ(platform::kOk, fs.MoveReplace("C:\\T\\new.exe", "C:\\T\\delviq.exe"));
  EXPECT_EQ("new", fs.FileContent("C:\\T\\delviq.exe"));
  EXPECT_EQ("real", fs.FileContent("C:\\elsewhere\\real.exe"));
  EXPECT_THAT(fs.ProgramsHolding({"C:\\T\\delviq.exe", "c:\\t\\HELD.exe"}), ElementsAre("sarnok"));
}

// As on Windows: the attributes of a denied file or folder can be read, but
// the file cannot be opened, and nothing in the folder can be reached.
TEST(MemoryFileSystem, DeniedFilesAndFoldersShowOnlyTheirOwnAttributes) {
  platform::MemoryFileSystem fs;
  fs.AddFile("E:\\denied\\in.txt", "x");
  fs.AddFile("E:\\denied.txt", "y");
  fs.AddFile("E:\\open.txt", "z");
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
    EXPECT_EQ(platform::kErrorAccessDenied, fs.CopyNewFile(path, "E:\\copy")) << path;
    EXPECT_EQ(platform::kErrorAccessDenied, fs.MoveReplace("E:\\open.txt", path)) << path;
  }
  EXPECT_EQ("y", fs.FileContent("E:\\denied.txt"));
}

}  // namespace
}  // namespace platform_test
