#include <gmock/gmock.h>

#include <chrono>

#include "support/memory_file_system.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "support/sample_source.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

constexpr char kSystemFile[] =
    "C:\\Vest\\DATA2004\\\r\nCOM2,19200\r\nvm04\r\n\r\n04001\r\nbåd\r\nABC\r\n";

class SourceScan : public ::testing::Test {
 protected:
  SourceScan() {
    fs_.AddDrive('C');
    fs_.AddFolder("E:\\");
    fs_.SetCurrentDirectory("E:\\");
  }

  void Scan() { setup_.ScanSource(); }

  platform::MemoryFileSystem fs_;
  setup::SetupState state_;
  setup::SystemSetup setup_{state_, fs_};
};

TEST_F(SourceScan, SampleDistributionFillsTheState) {
  test_support::LoadHostFolder(fs_, test_support::SampleDir(), "E:\\cd");
  fs_.SetCurrentDirectory("E:\\cd");
  Scan();

  EXPECT_EQ("E:\\cd\\", state_.SrcDir);
  EXPECT_EQ("Vestmark", state_.SysNavn);
  EXPECT_EQ("KAMBRIX", state_.PrBib);
  EXPECT_EQ("COM2", state_.Comport.Selected());
  EXPECT_EQ("19200", state_.Baudrate.Selected());
  EXPECT_EQ("VM04", state_.UserPassw.Text());
  EXPECT_EQ("12345678", state_.Tlfnr);
  EXPECT_EQ("+CBST=71", state_.ModPar.text);
  EXPECT_EQ("Målested Søndervang ÆØÅ æøå", state_.CarriedLine);
  EXPECT_THAT(state_.MSnavn.items, ElementsAre("ABC", "KLM", "XYZ"));
  EXPECT_THAT(state_.HtmlNames.Lines(), ElementsAre("ABC", "XYZ"));
  EXPECT_THAT(state_.RunFiles.Lines(), ElementsAre("maaling.run"));
  EXPECT_THAT(state_.PicFiles.Lines(), ElementsAre("abc1.png", "xyz1.png"));
  EXPECT_EQ("logo.bmp", state_.BmpName);
  EXPECT_EQ("DATA2004", state_.DataSubDir);
  EXPECT_THAT(state_.DataFiles.Lines(), ElementsAre("0401.dat", "0402.dat", "0403.dat"));
  EXPECT_TRUE(state_.FullMode);
  EXPECT_TRUE(state_.CommShown);
  EXPECT_TRUE(state_.DialShown);
  EXPECT_EQ("VORNEKA installation af KAMBRIX programmer", state_.Caption);
}

TEST_F(SourceScan, DrivesBToZInLetterOrderFirstSelected) {
  fs_.AddDrive('A');
  fs_.AddDrive('Z');
  fs_.AddDrive('B');
  Scan();
  EXPECT_THAT(state_.DrBox.items, ElementsAre("B", "C", "E", "Z"));
  EXPECT_EQ(0, state_.DrBox.selected);
  EXPECT_EQ(0, state_.Comport.selected);
  EXPECT_EQ(0, state_.Baudrate.selected);
  EXPECT_EQ("ingen", state_.ModPar.text);
}

TEST_F(SourceScan, WithoutSystemFileDefaultsStayAndNoStationsAreListed) {
  fs_.AddFile("E:\\config\\ABC.cfg");
  fs_.AddFile("E:\\prog\\delviq.exe");
  Scan();
  EXPECT_EQ(" KAMBRIX datalogger", state_.SysNavn);
  EXPECT_EQ("KAMBRIX", state_.PrBib);
  EXPECT_TRUE(state_.CarriedLine.empty());
  EXPECT_THAT(state_.MSnavn.items, IsEmpty());
  EXPECT_FALSE(state_.FullMode);
  EXPECT_FALSE(state_.CommShown);
  EXPECT_FALSE(state_.DialShown);
  EXPECT_EQ("VORNEKA installation af DELVIQ", state_.Caption);
}

TEST_F(SourceScan, SystemFileWithoutStationFilesListsThePlaceholder) {
  fs_.AddFile("E:\\config\\Vest.bib", kSystemFile);
  Scan();
  EXPECT_THAT(state_.MSnavn.items, ElementsAre("*"));
}

TEST_F(SourceScan, StationsComeFromSevenCharacterNamesWithCaseKept) {
  fs_.AddFile("E:\\config\\Vest.bib", kSystemFile);
  for (const char* name : {"XYZ.cfg", "ABCD.cfg", "AB.cfg", "abc.cfg", "ÆØÅ.cfg", "HID.cfg"}) {
    fs_.AddFile(std::string("E:\\config\\") + name);
  }
  fs_.SetAttributes("E:\\config\\HID.cfg", platform::kAttrHidden);
  fs_.AddFile("E:\\config\\MSinfo\\XYZ.html");
  fs_.AddFile("E:\\config\\MSinfo\\abc.htm");
  Scan();
  EXPECT_THAT(state_.MSnavn.items, ElementsAre("abc", "XYZ", "ÆØÅ"));
  EXPECT_THAT(state_.HtmlNames.Lines(), ElementsAre("XYZ"));
}

TEST_F(SourceScan, FirstFoundOfSeveralSystemFilesBitmapsAndDataFolders) {
  fs_.AddFile("E:\\config\\Second.bib.old", "x\r\n");
  fs_.AddFile("E:\\config\\Nord.bib", kSystemFile);
  fs_.AddFile("E:\\config\\Syd.bib", "D:\\Syd\\DATA2004\\\r\n");
  fs_.AddFile("E:\\config\\b.bmp");
  fs_.AddFile("E:\\config\\a.bmp");
  fs_.AddFile("E:\\DATA2003", "a plain file named like a data folder");
  fs_.AddFile("E:\\DATA2004\\x.dat");
  Scan();
  EXPECT_EQ("Nord", state_.SysNavn);
  EXPECT_EQ("Vest", state_.PrBib);
  EXPECT_EQ("b.bmp", state_.BmpName);
  EXPECT_EQ("DATA2003", state_.DataSubDir);
  EXPECT_THAT(state_.DataFiles.Lines(), IsEmpty());
}

TEST_F(SourceScan, PlainSearchesLeaveOutHiddenSystemAndFolders) {
  fs_.AddFile("E:\\config\\MSinfo\\pic\\a.jpg");
  fs_.AddFile("E:\\config\\MSinfo\\pic\\Thumbs.db", "", platform::kAttrHidden | platform::kAttrSystem);
  fs_.AddFolder("E:\\config\\MSinfo\\pic\\old");
  fs_.AddFile("E:\\config\\MSinfo\\pic\\noext");
  fs_.AddFile("E:\\config\\x.run", "", platform::kAttrSystem);
  fs_.AddFolder("E:\\DATA2004\\sub.dat");
  fs_.AddFile("E:\\DATA2004\\1.dat");
  Scan();
  EXPECT_THAT(state_.PicFiles.Lines(), ElementsAre("a.jpg", "noext"));
  EXPECT_THAT(state_.RunFiles.Lines(), IsEmpty());
  EXPECT_THAT(state_.DataFiles.Lines(), ElementsAre("1.dat"));
}

TEST_F(SourceScan, ShortSystemFileIsReportedButTheRestIsStillScanned) {
  fs_.AddFile("E:\\config\\Vest.bib", "C:\\Vest\\DATA2004\\\r\nCOM2,19200\r\nvm\r\n\r\n");
  fs_.AddFile("E:\\config\\ABC.cfg");
  fs_.AddFile("E:\\config\\a.run");
  fs_.AddFile("E:\\config\\logo.bmp");
  fs_.AddFile("E:\\prog\\sarnok.exe");
  fs_.AddFile("E:\\DATA2004\\1.dat");
  EXPECT_THAT([this] { Scan(); }, ThrowsMessage<setup::SetupError>(StrEq("List index out of bounds (5)")));
  EXPECT_EQ("Vest", state_.SysNavn);
  EXPECT_EQ("Vest", state_.PrBib);
  EXPECT_THAT(state_.MSnavn.items, ElementsAre("ABC"));
  EXPECT_THAT(state_.RunFiles.Lines(), ElementsAre("a.run"));
  EXPECT_EQ("logo.bmp", state_.BmpName);
  EXPECT_THAT(state_.DataFiles.Lines(), ElementsAre("1.dat"));
  EXPECT_TRUE(state_.FullMode);
  // The mode, applied last, shows the dial group although the file chose the cable.
  EXPECT_TRUE(state_.DctCon());
  EXPECT_TRUE(state_.DialShown);
}

TEST_F(SourceScan, UnreadableSystemFileIsReportedByName) {
  fs_.AddFile("E:\\config\\Vest.bib", kSystemFile);
  fs_.LockFile("E:\\config\\Vest.bib");
  fs_.AddFile("E:\\config\\ABC.cfg");
  EXPECT_THAT([this] { Scan(); },
              ThrowsMessage<setup::SetupError>(StrEq("Cannot open file E:\\config\\Vest.bib")));
  EXPECT_THAT(state_.MSnavn.items, ElementsAre("ABC"));
}

TEST_F(SourceScan, ConfigFolderThatIsAFileFindsNothing) {
  fs_.AddFile("E:\\config", "not a folder");
  Scan();
  EXPECT_EQ(" KAMBRIX datalogger", state_.SysNavn);
  EXPECT_THAT(state_.MSnavn.items, IsEmpty());
  EXPECT_TRUE(state_.RunFiles.Empty() && state_.PicFiles.Empty() && state_.BmpName.empty());
}

TEST_F(SourceScan, SourceWithHundredsOfThousandsOfEntries) {
  for (int i = 0; i < 200000; ++i) fs_.AddFile("E:\\f" + std::to_string(i) + ".txt");
  for (int i = 0; i < 100000; ++i) fs_.AddFile("E:\\DATA2004\\" + std::to_string(i) + ".dat");
  const auto start = std::chrono::steady_clock::now();
  Scan();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ("DATA2004", state_.DataSubDir);
  EXPECT_EQ(100000, state_.DataFiles.Count());
}

}  // namespace
