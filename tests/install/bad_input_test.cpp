// What a damaged or odd distribution, or a hostile target, does to the scan,
// the system file and the installation: a clear error or a silent skip, never
// a crash, a hang or a half-written file.
#include <gmock/gmock.h>

#include <chrono>

#include "install/installation.h"
#include "platform/memory_file_system.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

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

  // Scans with the given system file; returns the error text, empty if none.
  std::string ScanWith(const std::string& systemFile) {
    fs_.AddFile("E:\\config\\Vest.bib", systemFile);
    try {
      setup_.ScanSource();
    } catch (const setup::SetupError& error) {
      return error.what();
    }
    return "";
  }

  platform::MemoryFileSystem fs_;
  platform::MemoryShell shell_;
  setup::SetupState state_;
  setup::SystemSetup setup_{state_, fs_};
  install::Installation installation_{state_, fs_, shell_};
};

TEST_F(BadInput, SystemFilesOfFewerThanSixLinesNameTheMissingLine) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "List index out of bounds (0)"},
      {"C:\\V\\DATA1\\\r\n", "List index out of bounds (1)"},
      {"C:\\V\\DATA1\\\r\nCOM2,9600\r\n", "List index out of bounds (2)"},
      {"C:\\V\\DATA1\\\r\nCOM2,9600\r\nkode\r\n", "List index out of bounds (3)"},
      {"C:\\V\\DATA1\\\r\nCOM2,9600\r\nkode\r\n5551\r\n", "List index out of bounds (5)"},
      {"C:\\V\\DATA1\\\r\nCOM2,9600\r\nkode\r\n5551\r\n05001\r\n", "List index out of bounds (5)"},
      // A NUL byte ends the text: what follows it is not there.
      {"C:\\V\\DATA1\\\r\nCOM2,9600\r\n\0kode\r\n\r\n\r\n\r\n"s,
       "List index out of bounds (2)"},
  };
  for (const auto& [file, error] : cases) {
    setup::SetupState state;
    setup::SystemSetup setup(state, fs_);
    fs_.AddFile("E:\\config\\Vest.bib", file);
    try {
      setup.ScanSource();
      ADD_FAILURE() << "no error for: " << file;
    } catch (const setup::SetupError& raised) {
      EXPECT_STREQ(error, raised.what());
    }
    // Everything else still comes from the source.
    EXPECT_THAT(state.MSnavn.items, ElementsAre("ABC"));
    EXPECT_TRUE(state.FullMode);
  }
}

TEST_F(BadInput, EmptyOddAndHugeLinesAreReadWithoutError) {
  EXPECT_EQ("", ScanWith("\r\n\r\n\r\n\r\n\r\n\r\n"));
  EXPECT_EQ("KAMBRIX", state_.PrBib);
  EXPECT_EQ(-1, state_.Comport.selected);
  EXPECT_EQ(-1, state_.Baudrate.selected);
  EXPECT_TRUE(state_.DctCon());

  // Lone CR and lone LF each end a line; high bytes are letters.
  EXPECT_EQ("", ScanWith("C:\\Vest\\DATA1\rCOM5,300\n\xE6\xF8\xE5\r\n\n\r\xFF\x80\x81\r"));
  EXPECT_EQ("Vest", state_.PrBib);
  EXPECT_EQ(-1, state_.Comport.selected);
  EXPECT_EQ("ÆØÅ", state_.UserPassw.Text());
  EXPECT_TRUE(state_.DctCon());
  EXPECT_EQ("ÿ€\u0081", state_.CarriedLine);

  const std::string huge(1 << 20, '7');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ("", ScanWith(huge + "\\DATA\r\n" + huge + "\r\n" + huge + "\r\n" + huge +
                         ",+CBST=7" + huge + "\r\n\r\n" + huge + "\r\n"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(huge, state_.PrBib);
  EXPECT_EQ(-1, state_.Comport.selected);
  EXPECT_EQ(huge, state_.Tlfnr);
  EXPECT_EQ("+CBST=77777777777777", state_.ModPar.text);
}

TEST_F(BadInput, InstallListWithOddLinesCopiesOnlyWhatIsThere) {
  setup_.ScanSource();
  fs_.AddFolder("E:\\prog\\folder");
  fs_.AddFile("E:\\prog\\nul.exe", "a name Windows cannot use is never asked for");
  const std::string tooLong(249, 'x');  // C:\KAMBRIX\ and 249 make 260
  for (const std::string& line : {"", "folder", "missing.exe", "sarnok.exe", "..\\config\\ABC.cfg",
                                  "C:\\x.exe", "\\x.exe", "E:x.exe", "nul.exe", tooLong.c_str(),
                                  tooLong.c_str() + 1}) {
    state_.InstFiles.Add(line);
  }
  installation_.RunInstall();
  EXPECT_EQ("s", fs_.FileContent("C:\\KAMBRIX\\sarnok.exe"));
  EXPECT_THAT(installation_.NotInstalled(),
              ElementsAre("C:\\KAMBRIX\\folder", "C:\\KAMBRIX\\..\\config\\ABC.cfg",
                          "C:\\KAMBRIX\\C:\\x.exe", "C:\\KAMBRIX\\\\x.exe",
                          "C:\\KAMBRIX\\E:x.exe", "C:\\KAMBRIX\\" + tooLong));
  EXPECT_THAT(fs_.Tree("C:\\"), ElementsAre("KAMBRIX", "KAMBRIX\\MSinfo", "KAMBRIX\\MSinfo\\pic",
                                            "KAMBRIX\\DATA2005", "KAMBRIX\\sarnok.exe",
                                            "KAMBRIX\\ABC.cfg"));
}

TEST_F(BadInput, HundredThousandLineInstallListRunsThrough) {
  setup_.ScanSource();
  for (int i = 0; i < 100000; ++i) state_.InstFiles.Add("prog" + std::to_string(i) + ".exe");
  const auto start = std::chrono::steady_clock::now();
  installation_.RunInstall();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
}

TEST_F(BadInput, ConfigFolderThatIsAFileFindsNothing) {
  platform::MemoryFileSystem fs;
  fs.AddFile("E:\\config", "not a folder");
  fs.SetCurrentDirectory("E:\\");
  setup::SetupState state;
  setup::SystemSetup(state, fs).ScanSource();
  EXPECT_EQ(" KAMBRIX datalogger", state.SysNavn);
  EXPECT_THAT(state.MSnavn.items, IsEmpty());
  EXPECT_TRUE(state.RunFiles.Empty() && state.PicFiles.Empty() && state.BmpName.empty());
}

TEST_F(BadInput, SourceWithHundredsOfThousandsOfEntries) {
  for (int i = 0; i < 200000; ++i) fs_.AddFile("E:\\f" + std::to_string(i) + ".txt");
  for (int i = 0; i < 100000; ++i) fs_.AddFile("E:\\DATA2004\\" + std::to_string(i) + ".dat");
  const auto start = std::chrono::steady_clock::now();
  setup_.ScanSource();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ("DATA2004", state_.DataSubDir);
  EXPECT_EQ(100000, state_.DataFiles.Count());
}

TEST_F(BadInput, TargetThatCannotBeWrittenReportsEveryFileAndTheSystemFile) {
  fs_.AddFile("E:\\config\\a.run", "r");
  setup_.ScanSource();
  state_.InstFiles.Add("sarnok.exe");
  fs_.SetReadOnlyDrive('C');
  installation_.RunInstall();
  EXPECT_THAT(installation_.NotInstalled(),
              ElementsAre("C:\\KAMBRIX\\DATA2005", "C:\\KAMBRIX\\sarnok.exe",
                          "C:\\KAMBRIX\\ABC.cfg", "C:\\KAMBRIX\\a.run"));
  try {
    setup_.WriteSystemFile();
    ADD_FAILURE() << "no error";
  } catch (const setup::SetupError& error) {
    EXPECT_STREQ("Cannot create file C:\\KAMBRIX\\Vest.bib", error.what());
  }
  EXPECT_THAT(fs_.Tree("C:\\"), IsEmpty());
}

}  // namespace
