#include <gmock/gmock.h>

#include <chrono>

#include "support/memory_file_system.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using namespace std::string_literals;

class SystemFile : public ::testing::Test {
 protected:
  SystemFile() {
    fs_.AddFolder("C:\\KAMBRIX");
    state_.Comport.selected = 0;
    state_.Baudrate.selected = 0;
    state_.ModPar.Select(0);
  }

  void Read(std::initializer_list<const char*> lines) {
    state_.CfgLines.Clear();
    for (const char* line : lines) state_.CfgLines.Add(line);
    setup_.ReadSystemFile();
  }

  // Reads a file of six lines with the given line 1, 2 or 4.
  void ReadLine1(const char* line) { Read({line, "COM1,9600", "", "", "", ""}); }
  void ReadLine2(const char* line) { Read({"", line, "", "", "", ""}); }
  void ReadLine4(const char* line) { Read({"", "COM1,9600", "", line, "", ""}); }

  std::string Written() {
    state_.DestDir = "C:\\KAMBRIX\\";
    state_.DataDir = "C:\\KAMBRIX\\DATA2005";
    state_.YearSeq = "05001";
    setup_.WriteSystemFile();
    return fs_.FileContent("C:\\KAMBRIX\\" + state_.SysNavn + ".bib").value_or("<missing>");
  }

  std::string WrittenLine4() { return setup::ParseTextFile(Written()).Get(3); }

  platform::MemoryFileSystem fs_;
  setup::SetupState state_;
  setup::SystemSetup setup_{state_, fs_};
};

TEST_F(SystemFile, FirstLineGivesTheProgramFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\KAMBRIX\\DATA2005\\", "KAMBRIX"},
      {"D:\\Prog\\KAMBRIX\\DATA2005\\", "Prog\\KAMBRIX"},
      {"KAMBRIX\\DATA", "KAMBRIX"},
      {"C:\\DATA2005\\", ""},
      {"C:\\A\\DATA1\\B\\DATA2\\", "A"},
      {"abcd:\\x\\DATA2005", "abcd:\\x"},
      {"æ:\\x\\DATA2005", "x"},
      {"C:Kx\\DATA2005", "x"},
  };
  for (const auto& [line, folder] : cases) {
    state_.PrBib = "unchanged";
    ReadLine1(line);
    EXPECT_EQ(folder, state_.PrBib) << line;
  }
  // Without "\DATA" (case counts) the line holds no folder.
  for (const char* line : {"", "C:\\KAMBRIX\\data2005\\", "C:\\KAMBRIX"}) {
    state_.PrBib = "unchanged";
    ReadLine1(line);
    EXPECT_EQ("unchanged", state_.PrBib) << line;
  }
}

TEST_F(SystemFile, SecondLineSelectsPortAndBaudRate) {
  struct Case {
    const char* line;
    int port;
    int baud;
  };
  const Case cases[] = {
      {"COM1,9600", 0, 0},    {"COM4,19200", 3, 1},    {",9600", -1, 0},
      {"19200", -1, 1},       {"COM2,1920099", 1, -1}, {"COM9,9600", -1, 0},
      {"com1,9600", -1, 0},   {"", -1, -1},            {"COM3,", 2, -1},
      {"COM3,19200,x", 2, -1},
  };
  for (const Case& c : cases) {
    ReadLine2(c.line);
    EXPECT_EQ(c.port, state_.Comport.selected) << c.line;
    EXPECT_EQ(c.baud, state_.Baudrate.selected) << c.line;
  }
}

TEST_F(SystemFile, DialLineChoosesTheConnection) {
  ReadLine4("");
  EXPECT_TRUE(state_.DctCon());
  EXPECT_FALSE(state_.DialShown);
  ReadLine4("7");
  EXPECT_TRUE(state_.DctCon());

  ReadLine4("12345678");
  EXPECT_TRUE(state_.ModemCon());
  EXPECT_TRUE(state_.DialShown);
  EXPECT_EQ("12345678", state_.Tlfnr);
  EXPECT_EQ(0, state_.ModPar.selected);

  ReadLine4("I12345678,+CBST=71");
  EXPECT_EQ("12345678", state_.Tlfnr);
  EXPECT_THAT(state_.ModPar.items, ElementsAre("ingen", "+CBST=7", "+CBST=71", "+CBST=71"));
  EXPECT_EQ(3, state_.ModPar.selected);

  ReadLine4("5550,ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ("5550", state_.Tlfnr);
  EXPECT_EQ("ABCDEFGHIJKLMNOPQRST", state_.ModPar.text);

  ReadLine4(",+CBST=7");
  EXPECT_EQ("", state_.Tlfnr);
  EXPECT_EQ("+CBST=7", state_.ModPar.text);
}

TEST_F(SystemFile, ShortFileReportsTheMissingIndexAfterApplyingWhatItHas) {
  EXPECT_THAT([this] { Read({"C:\\Vest\\DATA2004\\", "COM2,19200", "kode", "12345678"}); },
              ThrowsMessage<setup::SetupError>(StrEq("List index out of bounds (5)")));
  EXPECT_EQ("Vest", state_.PrBib);
  EXPECT_EQ(1, state_.Comport.selected);
  EXPECT_EQ("KODE", state_.UserPassw.Text());
  EXPECT_EQ("12345678", state_.Tlfnr);
}

TEST_F(SystemFile, RoundTripKeepsEveryLineTheWriterOwns) {
  const char* const dialLines[] = {"I12345678,+CBST=71", "12345678", "12345678,+CBST=7", ""};
  for (const char* dial : dialLines) {
    Read({"C:\\KAMBRIX\\DATA2004\\", "COM2,19200", "kode", dial, "04001", "båd \x7f ÿ"});
    state_.MSnavn.Clear();
    for (const char* station : {"xyz", "ABC"}) state_.MSnavn.Insert(station);
    EXPECT_EQ(std::string("C:\\KAMBRIX\\DATA2005\\\r\nCOM2,19200\r\nKODE\r\n") + dial +
                  "\r\n05001\r\nb\xE5" "d \x7f \xFF\r\nABC\r\nXYZ\r\n",
              Written())
        << dial;
  }
  // Where the code page cannot hold it, it keeps the bytes it had as UTF-8.
  Read({"", "", "", "", "", "Łódź å"});
  EXPECT_THAT(Written(), HasSubstr("\r\n\xC5\x81\xC3\xB3" "d\xC5\xBA \xC3\xA5\r\n"));
}

// Lines 1, 3 and 4 reach the file as typed or read, or the install is refused.
TEST_F(SystemFile, TextsTheCodePageCannotHoldAreRefusedByTheFieldTheyAreIn) {
  const char* const cases[][5] = {  // lines 1, 3 and 4; the field refused, its character
      {"C:\\Målinger €œšŸ\\DATA1", "kø", "", "", ""},  // no phone number or parameter written
      {"C:\\Łódź\\DATA1", "kΩ", "Ж,Ш", "Programmappen", "Ł"},
      {"C:\\K\\DATA1", "kΩ", "Ж,Ш", "Brugerkoden", "Ω"},
      {"C:\\K\\DATA1", "", "5551234Ж", "Telefonnummeret", "Ж"},
      {"C:\\K\\DATA1", "", "5551234,+CBST=Ш", "Modemparameteren", "Ш"},
  };
  state_.Tlfnr = "Ж";
  state_.ModPar.SetText("Ш");
  for (const auto& [folder, user, dial, field, character] : cases) {
    Read({folder, "COM1,9600", user, dial, "", ""});
    const std::string text = field + " kan ikke skrives i systemfilen: tegnet \""s + character;
    EXPECT_EQ(*field ? text + "\" kan ikke bruges." : "", setup::SystemFileRefusal(state_));
  }
}

TEST_F(SystemFile, WriterDialLineForms) {
  state_.Tlfnr = "87654321";
  state_.ChooseConnection(setup::Connection::kDirect);
  EXPECT_EQ("", WrittenLine4());

  state_.ChooseConnection(setup::Connection::kModem);
  state_.ModPar.Select(2);
  EXPECT_EQ("I87654321,+CBST=71", WrittenLine4());
  state_.ModPar.Select(1);
  EXPECT_EQ("87654321,+CBST=7", WrittenLine4());
  // A parameter the user typed is written as typed.
  state_.ModPar.SetText("+CBST=0,0,1");
  EXPECT_EQ("87654321,+CBST=0,0,1", WrittenLine4());
  state_.ModPar.SetText("");
  EXPECT_EQ("87654321,", WrittenLine4());

  // A phone number of one character with parameter "ingen" reads back as the direct cable.
  state_.Tlfnr = "9";
  state_.ModPar.Select(0);
  state_.CfgLines = setup::ParseTextFile(Written());
  setup_.ReadSystemFile();
  EXPECT_TRUE(state_.DctCon());
}

TEST_F(SystemFile, FileIsNamedAfterTheSystemAndKeptWholeWhenItCannotBeWritten) {
  state_.Comport.selected = -1;
  EXPECT_EQ("C:\\KAMBRIX\\DATA2005\\\r\n,9600\r\n\r\n\r\n05001\r\n\r\n", Written());
  EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\ KAMBRIX datalogger.bib"));

  for (const std::string name : {"Vest|mark", "..\\Windows\\outside", "AUX", "NUL "}) {
    state_.SysNavn = name;
    EXPECT_THAT([&] { Written(); }, ThrowsMessage<setup::SetupError>(
                                        "Cannot create file C:\\KAMBRIX\\" + name + ".bib"));
  }
  EXPECT_THAT(fs_.Tree("C:\\"), ElementsAre("KAMBRIX", "KAMBRIX\\ KAMBRIX datalogger.bib"));

  state_.SysNavn = " KAMBRIX datalogger";
  const std::string before = Written();
  fs_.SetDriveCapacity('C', 1);
  state_.UserPassw = "longer";
  EXPECT_THROW(Written(), setup::SetupError);
  EXPECT_EQ(before, fs_.FileContent("C:\\KAMBRIX\\ KAMBRIX datalogger.bib"));
}

// The system file as the scan reads it, from a source that also holds a
// station file and the collection program.
class ScannedSystemFile : public ::testing::Test {
 protected:
  ScannedSystemFile() {
    fs_.AddFile("E:\\prog\\sarnok.exe", "s");
    fs_.AddFile("E:\\config\\ABC.cfg", "a");
    fs_.SetCurrentDirectory("E:\\");
  }

  void ScanWith(const std::string& systemFile) {
    fs_.AddFile("E:\\config\\Vest.bib", systemFile);
    setup_.ScanSource();
  }

  platform::MemoryFileSystem fs_;
  setup::SetupState state_;
  setup::SystemSetup setup_{state_, fs_};
};

TEST_F(ScannedSystemFile, SystemFilesOfFewerThanSixLinesNameTheMissingLine) {
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
    EXPECT_THAT([&] { setup.ScanSource(); }, ThrowsMessage<setup::SetupError>(StrEq(error))) << file;
    // Everything else still comes from the source.
    EXPECT_THAT(state.MSnavn.items, ElementsAre("ABC"));
    EXPECT_TRUE(state.FullMode);
  }
}

TEST_F(ScannedSystemFile, EmptyOddAndHugeLinesAreReadWithoutError) {
  EXPECT_NO_THROW(ScanWith("\r\n\r\n\r\n\r\n\r\n\r\n"));
  EXPECT_EQ("KAMBRIX", state_.PrBib);
  EXPECT_EQ(-1, state_.Comport.selected);
  EXPECT_EQ(-1, state_.Baudrate.selected);
  EXPECT_TRUE(state_.DctCon());

  // Lone CR and lone LF each end a line; high bytes are letters.
  EXPECT_NO_THROW(ScanWith("C:\\Vest\\DATA1\rCOM5,300\n\xE6\xF8\xE5\r\n\n\r\xFF\x80\x81\r"));
  EXPECT_EQ("Vest", state_.PrBib);
  EXPECT_EQ(-1, state_.Comport.selected);
  EXPECT_EQ("ÆØÅ", state_.UserPassw.Text());
  EXPECT_TRUE(state_.DctCon());
  EXPECT_EQ("ÿ€\u0081", state_.CarriedLine);

  const std::string huge(1 << 20, '7');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NO_THROW(ScanWith(huge + "\\DATA\r\n" + huge + "\r\n" + huge + "\r\n" + huge +
                           ",+CBST=7" + huge + "\r\n\r\n" + huge + "\r\n"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(huge, state_.PrBib);
  EXPECT_EQ(-1, state_.Comport.selected);
  EXPECT_EQ(huge, state_.Tlfnr);
  EXPECT_EQ("+CBST=77777777777777", state_.ModPar.text);
}

}  // namespace
