// The Win32 file system on real folders under the test's own temporary
// folder: the shared contract, and what only a real Windows file system shows.
#include "platform/win32/win32_file_system.h"

#include <gmock/gmock.h>

#include <thread>
#include <windows.h>

#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system_contract.h"
#include "platform/win32/wide.h"
#include "support/temp_folder.h"

namespace platform_test {
namespace {

using platform::SearchFilter;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

// A fresh temporary folder to work in; files held open are let go first.
class Win32Scene : public ContractScene {
 public:
  ~Win32Scene() override {
    for (const HANDLE handle : held_) CloseHandle(handle);
  }

  platform::FileSystem& Fs() override { return fs_; }
  std::string Root() override { return folder_.Path(); }
  void SetAttributes(const std::string& path, std::uint32_t attributes) override {
    ASSERT_TRUE(SetFileAttributesW(platform::Widen(path).c_str(), attributes)) << path;
  }
  void HoldOpen(const std::string& path) override {
    const HANDLE handle = CreateFileW(platform::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle) << path;
    held_.push_back(handle);
  }

 private:
  platform::Win32FileSystem fs_;
  test_support::TempFolder folder_{"fs_test_"};
  std::vector<HANDLE> held_;
};

std::unique_ptr<ContractScene> MakeWin32Scene() { return std::make_unique<Win32Scene>(); }

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values(&MakeWin32Scene));

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentDirectoryW(startFolder_.c_str()); }

  std::string Path(const std::string& relative) { return root_ + "\\" + relative; }

  Win32Scene scene_;
  platform::FileSystem& fs_ = scene_.Fs();
  const std::string root_ = scene_.Root();
  const std::wstring startFolder_ = platform::Widen(fs_.CurrentDirectory());
};

// Danish names must survive the trip to UTF-16 and back in every call,
// and Windows compares them without regard to case.
TEST_F(Win32FileSystemTest, DanishNamesRoundTrip) {
  const std::string folder = Path("Målinger på Ærø");
  ASSERT_EQ(platform::kOk, fs_.CreateFolder(folder));
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(folder + "\\Måler æøå.txt", "ÆØÅ"));
  ASSERT_EQ(platform::kOk, fs_.CopyNewFile(folder + "\\Måler æøå.txt", folder + "\\Kopi ÆØÅ.txt"));

  EXPECT_THAT(Names(fs_.Search(folder + "\\*.txt", SearchFilter::kPlainFiles)),
              UnorderedElementsAre("Måler æøå.txt", "Kopi ÆØÅ.txt"));
  EXPECT_THAT(Names(fs_.Search(Path("*"), SearchFilter::kFilesAndFolders)),
              ElementsAre("Målinger på Ærø"));
  std::string bytes;
  EXPECT_EQ(platform::kOk, fs_.ReadWholeFile(Path("MÅLINGER PÅ ÆRØ\\MÅLER ÆØÅ.TXT"), bytes));
  EXPECT_EQ("ÆØÅ", bytes);

  ASSERT_TRUE(SetCurrentDirectoryW(platform::Widen(folder).c_str()));
  EXPECT_EQ(folder, fs_.CurrentDirectory());
  EXPECT_THAT(Names(fs_.Search("kopi*.*", SearchFilter::kPlainFiles)), ElementsAre("Kopi ÆØÅ.txt"));
}

// Installations take turns at one lock of the machine; a lock whose holder
// ended without letting it go (a thread here, a killed process there) is
// taken over.
TEST_F(Win32FileSystemTest, InstallationsTakeTurnsAtOneLock) {
  platform::Win32FileSystem other;
  ASSERT_TRUE(fs_.LockInstallations());
  bool taken = true;
  std::thread([&] { taken = other.LockInstallations(); }).join();
  EXPECT_FALSE(taken);
  fs_.UnlockInstallations();
  std::thread([&] { taken = other.LockInstallations(); }).join();
  EXPECT_TRUE(taken);
  EXPECT_TRUE(fs_.LockInstallations());
  fs_.UnlockInstallations();

  const auto space = fs_.FreeSpace(root_);
  ASSERT_TRUE(space);
  EXPECT_GT(space->free, 0u);
  EXPECT_EQ(0u, space->cluster & (space->cluster - 1)) << space->cluster;
}

TEST_F(Win32FileSystemTest, LocalYearIsTheFourDigitYearOfTheLocalDate) {
  const std::time_t now = std::time(nullptr);
  EXPECT_EQ(std::localtime(&now)->tm_year + 1900, fs_.LocalYear());
}

// Reads and writes go in pieces (writes of 16 MiB); a file larger than one
// piece must come back byte for byte.
TEST_F(Win32FileSystemTest, LargeFileRoundTrips) {
  std::string bytes((std::size_t{16} << 20) + 300001, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(Path("big.bin"), bytes));
  std::string back;
  ASSERT_EQ(platform::kOk, fs_.ReadWholeFile(Path("big.bin"), back));
  EXPECT_TRUE(back == bytes) << "read " << back.size() << " of " << bytes.size() << " bytes";
}

// A file that a running program holds open cannot be replaced; the write
// must fail and leave the file and the folder as they were.
TEST_F(Win32FileSystemTest, WriteOntoFileHeldOpenFailsAndLeavesNoTemporaryFile) {
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(Path("held.txt"), "old"));
  scene_.HoldOpen(Path("held.txt"));

  EXPECT_NE(platform::kOk, fs_.WriteWholeFile(Path("held.txt"), "new"));
  EXPECT_THAT(Names(fs_.Search(Path("*"), SearchFilter::kFilesAndFolders)),
              ElementsAre("held.txt"));
}

// FindFirstFileExW as Windows before 7 answers it, or as later ones do.
int findFirstCalls = 0;
FINDEX_INFO_LEVELS firstLevel;
bool rejectQuickSearch = false;

HANDLE WINAPI OlderFindFirst(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data,
                             FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags) {
  if (findFirstCalls++ == 0) firstLevel = level;
  if (rejectQuickSearch && (level != FindExInfoStandard || flags != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return FindFirstFileExW(pattern, level, data, search, filter, flags);
}

// Where the quick search is rejected, the plain one finds the same; a
// missing folder is no reason to ask again.
TEST_F(Win32FileSystemTest, SearchFallsBackToThePlainSearchWhereTheQuickOneIsRejected) {
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(Path("a.dat"), "a"));
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(Path("b.dat"), "b"));
  platform::Win32FileSystem older(&OlderFindFirst);
  const struct {
    bool rejected;
    const char* pattern;
    std::vector<std::string> names;
    int calls;
  } cases[] = {{true, "*.dat", {"a.dat", "b.dat"}, 2},
               {false, "*.dat", {"a.dat", "b.dat"}, 1},
               {true, "missing\\*", {}, 2},
               {false, "missing\\*", {}, 1}};
  for (const auto& c : cases) {
    rejectQuickSearch = c.rejected;
    findFirstCalls = 0;
    EXPECT_THAT(Names(older.Search(Path(c.pattern), SearchFilter::kPlainFiles)),
                UnorderedElementsAreArray(c.names)) << c.pattern << c.rejected;
    EXPECT_EQ(c.calls, findFirstCalls) << c.pattern << c.rejected;
    EXPECT_EQ(FindExInfoBasic, firstLevel);
  }
}

}  // namespace
}  // namespace platform_test
