// What a damaged or odd distribution, or a hostile target, does to the
// installation: a clear error or a silent skip, never a crash, a hang or a
// half-written file. The scan's and the system file's cases are with theirs.
#include <gmock/gmock.h>

#include <chrono>

#include "install/installation.h"
#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"
#include "support/install_steps.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BadInput : public ::testing::Test {
 protected:
  BadInput() {
    fs_.AddDrive('C');
    fs_.AddFolder("E:\\prog");
    fs_.AddFile("E:\\prog\\sarnok.exe", "s");
    fs_.AddFile("E:\\config\\ABC.cfg", "a");
    fs_.AddFile("E:\\config\\Vest.bib", "C:\\KAMBRIX\\DATA2004\\\r\nCOM1,9600\r\n\r\n\r\n\r\n\r\n");
    fs_.SetCurrentDirectory("E:\\");
  }

  platform::MemoryFileSystem fs_;
  platform::MemoryShell shell_;
  setup::SetupState state_;
  setup::SystemSetup setup_{state_, fs_};
  install::Installation installation_{state_, fs_, shell_};
};

TEST_F(BadInput, InstallListWithOddLinesCopiesOnlyWhatIsThere) {
  setup_.ScanSource();
  fs_.AddFolder("E:\\prog\\folder");
  fs_.AddFile("E:\\prog\\nul.exe", "a name Windows cannot use is never asked for");
  const std::string tooLong(249, 'x');  // C:\KAMBRIX\ and 249 make 260
  std::string within;  // with C:\KAMBRIX\ 259 characters in UTF-16, 507 bytes in UTF-8
  for (int i = 0; i < 248; ++i) within += "å";
  fs_.AddFile("E:\\prog\\" + within, "å");
  for (const std::string line : {"", "folder", "missing.exe", "sarnok.exe", "..\\config\\ABC.cfg",
                                  "C:\\x.exe", "\\x.exe", "E:x.exe", "nul.exe", tooLong.c_str(),
                                  tooLong.c_str() + 1, within.c_str()}) {
    state_.InstFiles.Add(line);
  }
  test_support::InstallAsConfirmed(installation_);
  EXPECT_EQ("s", fs_.FileContent("C:\\KAMBRIX\\sarnok.exe"));
  EXPECT_THAT(installation_.NotInstalled(),
              ElementsAre("C:\\KAMBRIX\\folder", "C:\\KAMBRIX\\..\\config\\ABC.cfg",
                          "C:\\KAMBRIX\\C:\\x.exe", "C:\\KAMBRIX\\\\x.exe",
                          "C:\\KAMBRIX\\E:x.exe", "C:\\KAMBRIX\\" + tooLong));
  EXPECT_THAT(fs_.Tree("C:\\"), ElementsAre("KAMBRIX", "KAMBRIX\\MSinfo", "KAMBRIX\\MSinfo\\pic",
                                            "KAMBRIX\\DATA2005", "KAMBRIX\\sarnok.exe",
                                            "KAMBRIX\\" + within, "KAMBRIX\\ABC.cfg"));
}

TEST_F(BadInput, HundredThousandLineInstallListRunsThrough) {
  setup_.ScanSource();
  for (int i = 0; i < 100000; ++i) state_.InstFiles.Add("prog" + std::to_string(i) + ".exe");
  const auto start = std::chrono::steady_clock::now();
  test_support::InstallAsConfirmed(installation_);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
}

TEST_F(BadInput, TargetThatCannotBeWrittenReportsEveryFileAndTheSystemFile) {
  fs_.AddFile("E:\\config\\a.run", "r");
  setup_.ScanSource();
  state_.InstFiles.Add("sarnok.exe");
  fs_.SetReadOnlyDrive('C');
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(),
              ElementsAre("C:\\KAMBRIX\\DATA2005", "C:\\KAMBRIX\\sarnok.exe",
                          "C:\\KAMBRIX\\ABC.cfg", "C:\\KAMBRIX\\a.run"));
  EXPECT_THAT([this] { setup_.WriteSystemFile(); },
              testing::ThrowsMessage<setup::SetupError>(
                  testing::StrEq("Cannot create file C:\\KAMBRIX\\Vest.bib")));
  EXPECT_THAT(fs_.Tree("C:\\"), IsEmpty());
}

}  // namespace
