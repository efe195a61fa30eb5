#include "platform/file_system_contract.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace platform_test {
namespace {

using platform::SearchFilter;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

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

TEST_P(FileSystemContract, CopyMakesOnlyNewFilesAndFailsWithoutSourceOrFolder) {
  Write("src.bin", std::string("new\0data", 8));
  scene_->SetAttributes(Path("src.bin"), platform::kAttrReadOnly);
  EXPECT_EQ(platform::kOk, fs().CopyNewFile(Path("src.bin"), Path("dst.bin")));
  EXPECT_EQ(std::string("new\0data", 8), Read("dst.bin"));
  const auto copied = fs().Info(Path("dst.bin"));
  ASSERT_TRUE(copied);
  EXPECT_EQ(8u, copied->size);
  EXPECT_NE(0u, copied->attributes & platform::kAttrReadOnly);

  Write("old.bin", "old");
  EXPECT_EQ(platform::kErrorFileExists, fs().CopyNewFile(Path("src.bin"), Path("OLD.bin")));
  EXPECT_EQ("old", Read("old.bin"));

  // The installation tells a file the distribution lacks by these codes.
  Folder("folder");
  const std::pair<const char*, platform::ErrorCode> failures[] = {
      {"missing.bin", platform::kErrorFileNotFound},
      {"nofolder\\x.bin", platform::kErrorPathNotFound},
      {"*.bin", platform::kErrorInvalidName},
      {"folder", platform::kErrorAccessDenied},
  };
  for (const auto& [source, error] : failures) {
    EXPECT_EQ(error, fs().CopyNewFile(Path(source), Path("x.bin"))) << source;
  }
  EXPECT_FALSE(platform::FileExists(fs(), Path("x.bin")));
  EXPECT_EQ(platform::kErrorPathNotFound, fs().CopyNewFile(Path("src.bin"), Path("nofolder\\x.bin")));
  EXPECT_FALSE(platform::FolderExists(fs(), Path("nofolder")));
}

TEST_P(FileSystemContract, RenameReplacesInOneStepButNoReadOnlyFileOrFolder) {
  const std::pair<std::uint32_t, bool> targets[] = {
      {platform::kAttrArchive, true},   {platform::kAttrHidden, true},
      {platform::kAttrSystem, true},    {platform::kAttrReadOnly, false},
      {platform::kAttrDirectory, false},
  };
  for (const auto& [attribute, replaced] : targets) {
    const std::string target = "t" + std::to_string(attribute);
    if (attribute == platform::kAttrDirectory) {
      Folder(target);
    } else {
      Write(target, "old");
      scene_->SetAttributes(Path(target), attribute);
    }
    Write("new.tmp", "new");
    EXPECT_EQ(replaced, fs().MoveReplace(Path("new.tmp"), Path(target)) == platform::kOk) << target;
    EXPECT_EQ(!replaced, platform::FileExists(fs(), Path("new.tmp"))) << target;
    if (attribute != platform::kAttrDirectory) {
      EXPECT_EQ(replaced ? "new" : "old", Read(target)) << target;
    }
    fs().RemoveFile(Path("new.tmp"));
  }
}

// A program that holds a file open without sharing keeps it from being
// read, replaced or deleted; the probe sees it and changes nothing.
TEST_P(FileSystemContract, AHeldFileRefusesEveryChangeAndTheProbeSeesIt) {
  Write("src.bin", "new");
  Write("free.bin", "free");
  Write("held.bin", "old");
  scene_->HoldOpen(Path("held.bin"));
  EXPECT_EQ(platform::kOk, fs().ProbeReplace(Path("free.bin")));
  EXPECT_EQ(platform::kErrorSharingViolation, fs().ProbeReplace(Path("held.bin")));
  EXPECT_NE(platform::kOk, fs().MoveReplace(Path("src.bin"), Path("held.bin")));
  EXPECT_NE(platform::kOk, fs().WriteWholeFile(Path("held.bin"), "new"));
  EXPECT_EQ(platform::kErrorSharingViolation, fs().RemoveFile(Path("held.bin")));
  EXPECT_EQ(platform::kErrorSharingViolation, fs().CopyNewFile(Path("held.bin"), Path("x.bin")));
  std::string bytes;
  EXPECT_NE(platform::kOk, fs().ReadWholeFile(Path("held.bin"), bytes));
  EXPECT_TRUE(platform::FileExists(fs(), Path("src.bin")));
  EXPECT_EQ("free", Read("free.bin"));
}

// A flush keeps a file's data on the disk. A read-only file that a program holds refuses the
// probe of its replacement (Windows looks at the attribute first and says
// access denied; Wine run as root looks at the sharing), and shows itself
// held to the probe of a rename over it, which the attribute allows.
TEST_P(FileSystemContract, FlushAndProbesOfReadOnlyFiles) {
  Write("a.bin", "abc");
  std::uint64_t size = 0;
  EXPECT_EQ(platform::kOk, fs().Flush(Path("a.bin"), size));
  EXPECT_EQ(3u, size);
  EXPECT_NE(platform::kOk, fs().Flush(Path("missing.bin"), size));

  Write("free.bin");
  Write("held.bin");
  scene_->HoldOpen(Path("held.bin"));
  for (const char* name : {"free.bin", "held.bin"}) {
    scene_->SetAttributes(Path(name), platform::kAttrReadOnly);
  }
  EXPECT_NE(platform::kOk, fs().ProbeReplace(Path("held.bin")));
  EXPECT_EQ(platform::kOk, fs().ProbeDelete(Path("free.bin")));
  EXPECT_EQ(platform::kErrorSharingViolation, fs().ProbeDelete(Path("held.bin")));
}

TEST_P(FileSystemContract, RemovesFilesAndOnlyEmptyFolders) {
  Folder("full");
  Write("full\\f.txt");
  EXPECT_EQ(platform::kErrorDirNotEmpty, fs().RemoveFolder(Path("full")));
  EXPECT_EQ(platform::kOk, fs().RemoveFile(Path("full\\f.txt")));
  EXPECT_EQ(platform::kErrorFileNotFound, fs().RemoveFile(Path("full\\f.txt")));
  EXPECT_EQ(platform::kOk, fs().RemoveFolder(Path("full")));
  EXPECT_FALSE(fs().Info(Path("full")));
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
