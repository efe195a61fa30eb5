#include "platform/file_system_contract.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace platform_test {
namespace {

using platform::SearchFilter;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::vector<std::string> Names(const std::vector<platform::DirEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

TEST_P(FileSystemContract, ExistsTestsTellFilesFromFolders) {
  Write("a.txt");
  Folder("sub");
  Write("hidden.txt");
  scene_->SetAttributes(Path("hidden.txt"), platform::kAttrHidden | platform::kAttrSystem);

  EXPECT_TRUE(platform::FileExists(fs(), Path("a.txt")));
  EXPECT_TRUE(platform::FileExists(fs(), Path("A.TXT")));
  EXPECT_TRUE(platform::FileExists(fs(), Path("hidden.txt")));
  EXPECT_FALSE(platform::FileExists(fs(), Path("sub")));
  EXPECT_FALSE(platform::FileExists(fs(), Path("missing.txt")));
  EXPECT_FALSE(platform::FileExists(fs(), Path("*.txt")));
  EXPECT_TRUE(platform::FolderExists(fs(), Path("sub")));
  EXPECT_TRUE(platform::FolderExists(fs(), Path("SUB\\")));
  EXPECT_FALSE(platform::FolderExists(fs(), Path("a.txt")));
  EXPECT_FALSE(platform::FolderExists(fs(), Path("missing")));
}

TEST_P(FileSystemContract, SearchFiltersByLongNameAndAttributes) {
  Write("Plant.bib");
  Write("Plant.bibold");  // its short name PLANT~1.BIB must not match *.bib
  Write("other.BIB");
  Write("secret.bib");
  scene_->SetAttributes(Path("secret.bib"), platform::kAttrHidden);
  Write("sys.bib");
  scene_->SetAttributes(Path("sys.bib"), platform::kAttrSystem);
  Folder("folder.bib");

  EXPECT_THAT(Names(fs().Search(Path("*.bib"), SearchFilter::kPlainFiles)),
              UnorderedElementsAre("Plant.bib", "other.BIB"));
  EXPECT_THAT(Names(fs().Search(Path("*.bib"), SearchFilter::kFilesAndFolders)),
              UnorderedElementsAre("Plant.bib", "other.BIB", "folder.bib"));
  EXPECT_EQ(1u, fs().Search(Path("*.bib"), SearchFilter::kPlainFiles, 1).size());
}

TEST_P(FileSystemContract, SearchWildcards) {
  Folder("DATA2004");
  Folder("DATA05");
  Folder("DATA");
  Write("DATA2005");
  Write("DATA20");
  Write("data20045");
  Write("DATA.txt");
  Write("README");
  Write("pic.jpg");

  EXPECT_THAT(Names(fs().Search(Path("DATA????"), SearchFilter::kFilesAndFolders)),
              UnorderedElementsAre("DATA2004", "DATA05", "DATA", "DATA2005", "DATA20"));
  EXPECT_THAT(Names(fs().Search(Path("DATA????"), SearchFilter::kPlainFiles)),
              UnorderedElementsAre("DATA2005", "DATA20"));
  EXPECT_THAT(Names(fs().Search(Path("*.*"), SearchFilter::kPlainFiles)),
              UnorderedElementsAre("DATA2005", "DATA20", "data20045", "DATA.txt", "README", "pic.jpg"));
  EXPECT_THAT(Names(fs().Search(Path("*."), SearchFilter::kPlainFiles)),
              UnorderedElementsAre("DATA2005", "DATA20", "data20045", "README"));
  EXPECT_THAT(Names(fs().Search(Path("DATA.?"), SearchFilter::kFilesAndFolders)),
              ElementsAre("DATA"));
  EXPECT_THAT(Names(fs().Search(Path("missing\\*.*"), SearchFilter::kPlainFiles)), IsEmpty());
}

TEST_P(FileSystemContract, CopyReplacesTargetAndFailsWithoutSourceOrFolder) {
  Write("src.bin", std::string("new\0data", 8));
  Write("dst.bin", "old contents that are longer");
  EXPECT_EQ(platform::kOk, fs().CopyFileOver(Path("src.bin"), Path("dst.bin")));
  EXPECT_EQ(std::string("new\0data", 8), Read("dst.bin"));
  EXPECT_EQ(std::string("new\0data", 8), Read("src.bin"));

  // The installation tells a file the distribution lacks by these codes.
  Folder("folder");
  const std::pair<const char*, platform::ErrorCode> failures[] = {
      {"missing.bin", platform::kErrorFileNotFound},
      {"nofolder\\x.bin", platform::kErrorPathNotFound},
      {"*.bin", platform::kErrorInvalidName},
      {"folder", platform::kErrorAccessDenied},
  };
  for (const auto& [source, error] : failures) {
    EXPECT_EQ(error, fs().CopyFileOver(Path(source), Path("x.bin"))) << source;
  }
  EXPECT_FALSE(platform::FileExists(fs(), Path("x.bin")));
  EXPECT_EQ(platform::kErrorPathNotFound, fs().CopyFileOver(Path("src.bin"), Path("nofolder\\x.bin")));
  EXPECT_FALSE(platform::FolderExists(fs(), Path("nofolder")));
}

TEST_P(FileSystemContract, CopyRefusesReadOnlyHiddenAndSystemTargets) {
  Write("src.bin", "new");
  for (const std::uint32_t attribute :
       {platform::kAttrReadOnly, platform::kAttrHidden, platform::kAttrSystem}) {
    const std::string kept = "kept" + std::to_string(attribute) + ".bin";
    Write(kept, "old");
    scene_->SetAttributes(Path(kept), attribute);
    EXPECT_EQ(platform::kErrorAccessDenied, fs().CopyFileOver(Path("src.bin"), Path(kept))) << kept;
    EXPECT_EQ("old", Read(kept));
  }
}

TEST_P(FileSystemContract, CopyOntoFileHeldOpenFailsAndKeepsIt) {
  Write("src.bin", "new");
  Write("held.bin", "old");
  scene_->HoldOpen(Path("held.bin"));
  EXPECT_EQ(platform::kErrorSharingViolation, fs().CopyFileOver(Path("src.bin"), Path("held.bin")));
  std::string bytes;
  EXPECT_NE(platform::kOk, fs().ReadWholeFile(Path("held.bin"), bytes));
}

TEST_P(FileSystemContract, CreateFolderNeedsItsParent) {
  EXPECT_EQ(platform::kOk, fs().CreateFolder(Path("a")));
  EXPECT_NE(platform::kOk, fs().CreateFolder(Path("a")));
  EXPECT_NE(platform::kOk, fs().CreateFolder(Path("x\\y")));
  EXPECT_EQ(platform::kOk, fs().CreateFolder(Path("a\\b")));
  EXPECT_TRUE(platform::FolderExists(fs(), Path("a\\b")));
  EXPECT_FALSE(platform::FolderExists(fs(), Path("x")));
}

TEST_P(FileSystemContract, WholeFilesRoundTripAndReplaceInOneStep) {
  std::string allBytes;
  for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
  Write("all.bin", allBytes);
  EXPECT_EQ(allBytes, Read("all.bin"));

  Write("all.bin", "short");
  EXPECT_EQ("short", Read("all.bin"));

  // A write that cannot be done leaves the old file and nothing else.
  Folder("keep");
  Write("keep\\f.txt", "old");
  EXPECT_NE(platform::kOk, fs().WriteWholeFile(Path("keep\\bad|name.txt"), "new"));
  EXPECT_NE(platform::kOk, fs().WriteWholeFile(Path("missing\\f.txt"), "new"));
  EXPECT_EQ("old", Read("keep\\f.txt"));
  EXPECT_THAT(Names(fs().Search(Path("keep\\*"), SearchFilter::kFilesAndFolders)),
              ElementsAre("f.txt"));

  std::string bytes;
  EXPECT_NE(platform::kOk, fs().ReadWholeFile(Path("missing.txt"), bytes));
  EXPECT_NE(platform::kOk, fs().ReadWholeFile(Path("keep"), bytes));
}

}  // namespace
}  // namespace platform_test
