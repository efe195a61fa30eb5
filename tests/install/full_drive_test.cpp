// A drive that fills up during the installation, under Wine: drive T: is a
// small tmpfs that run_full_drive maps in before this program runs.
#include <windows.h>

#include <gmock/gmock.h>

#include "install/installation.h"
#include "platform/win32/win32_file_system.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "support/install_steps.h"
#include "support/sample_source.h"
#include "support/memory_shell.h"

namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

// Fills the drive to the last byte with one file.
void FillDrive(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  const std::string block(4096, 'f');
  DWORD written = 0;
  for (std::size_t size = block.size(); size > 0; size /= 2) {
    while (WriteFile(file, block.data(), static_cast<DWORD>(size), &written, nullptr) && written == size) {
    }
  }
  CloseHandle(file);
}

TEST(FullDrive, SystemFileStaysWholeAndFailedCopiesAreReported) {
  platform::Win32FileSystem fs;
  ASSERT_TRUE(platform::FolderExists(fs, "T:\\")) << "drive T: is not mapped";
  ASSERT_EQ(platform::kOk, fs.CreateFolder("T:\\KAMBRIX"));

  setup::SetupState state;
  setup::SystemSetup systemSetup(state, fs);
  state.SysNavn = "Vestmark";
  state.DestDir = "T:\\KAMBRIX\\";
  state.DataDir = "T:\\KAMBRIX\\DATA2005";
  state.YearSeq = "05001";
  systemSetup.WriteSystemFile();
  std::string before;
  ASSERT_EQ(platform::kOk, fs.ReadWholeFile("T:\\KAMBRIX\\Vestmark.bib", before));
  ASSERT_EQ(platform::kOk, fs.WriteWholeFile("T:\\KAMBRIX\\sarnok.exe", "old program"));

  FillDrive(L"T:\\filler");
  state.CarriedLine = std::string(8192, 'x');
  EXPECT_THAT([&] { systemSetup.WriteSystemFile(); },
              ThrowsMessage<setup::SetupError>(StrEq("Cannot create file T:\\KAMBRIX\\Vestmark.bib")));
  std::string after;
  ASSERT_EQ(platform::kOk, fs.ReadWholeFile("T:\\KAMBRIX\\Vestmark.bib", after));
  EXPECT_TRUE(after == before) << "the previous system file was damaged";
  EXPECT_THAT(test_support::FolderEntries(fs, "T:\\KAMBRIX"), testing::UnorderedElementsAre("Vestmark.bib", "sarnok.exe"));

  // A copy that does not fit is reported, not passed over, and the program
  // it was to replace stays whole.
  platform::MemoryShell shell;
  state.SrcDir = test_support::SampleDir() + "\\";
  state.DrBox.items = {"T"};
  state.DrBox.selected = 0;
  state.PrBib = "KAMBRIX";
  state.InstFiles.Add("sarnok.exe");
  install::Installation installation(state, fs, shell);
  test_support::InstallAsConfirmed(installation);
  EXPECT_THAT(installation.NotInstalled(), ElementsAre("T:\\KAMBRIX\\sarnok.exe"));
  std::string program;
  ASSERT_EQ(platform::kOk, fs.ReadWholeFile("T:\\KAMBRIX\\sarnok.exe", program));
  EXPECT_EQ("old program", program);
  EXPECT_THAT(test_support::FolderEntries(fs, "T:\\KAMBRIX"),
              testing::Each(testing::Not(testing::StartsWith("~"))));
}

}  // namespace
