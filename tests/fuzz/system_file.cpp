// The system file (config\<system>.bib), in any encoding the reader takes:
// any lines read into the setup state, written back in Windows-1252, and the
// written file read again as the installed programs read it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "support/memory_file_system.h"
#include "platform/unicode.h"
#include "setup/setup_error.h"
#include "setup/setup_state.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace {

// The state as the scan leaves it before it reads the system file.
setup::SetupState ScannedState() {
  setup::SetupState state;
  state.Comport.selected = 0;
  state.Baudrate.selected = 0;
  state.ModPar.Select(0);
  return state;
}

bool WithinList(const setup::ChoiceList& list) {
  return list.selected >= -1 && list.selected < static_cast<int>(list.items.size());
}

void CheckState(const setup::SetupState& state) {
  if (!WithinList(state.Comport) || !WithinList(state.Baudrate) || !WithinList(state.ModPar)) {
    fuzz::Fail("a selected index lies within its list", state.ModPar.text);
  }
  if (state.ModPar.selected >= 0 && state.ModPar.text != state.ModPar.Selected()) {
    fuzz::Fail("the modem parameter text is the selected entry's", state.ModPar.text);
  }
  if (platform::ToUpper(state.UserPassw.Text()) != state.UserPassw.Text()) {
    fuzz::Fail("the user code is upper case", state.UserPassw.Text());
  }
  if (state.ModemCon() == state.DctCon() || state.DialShown != state.ModemCon()) {
    fuzz::Fail("one connection is chosen and the dial group shows with the modem", "");
  }
}

// What the modem settings come to: the phone number and the parameter, or
// nothing for the direct cable.
std::string DialSettings(const setup::SetupState& state) {
  if (state.DctCon()) return "direct";
  if (state.ModPar.selected == 0) return "modem " + state.Tlfnr;
  return "modem " + state.Tlfnr + " with " + state.ModPar.text;
}

// The written file split at its CR LF breaks: its lines' bytes.
std::vector<std::string> LineBytes(const std::string& file) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < file.size();) {
    const std::size_t end = file.find("\r\n", start);
    lines.push_back(file.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const setup::TextList file =
      setup::ParseTextFile(std::string_view(reinterpret_cast<const char*>(data), size));

  platform::MemoryFileSystem fs;
  fs.AddFolder("C:\\K");
  setup::SetupState state = ScannedState();
  // A seventh line, when there is one, stands for the name the file was found by.
  if (file.Count() > 6) state.SysNavn = file.Get(6);
  state.CfgLines = file;
  setup::SystemSetup systemSetup(state, fs);
  try {
    systemSetup.ReadSystemFile();
  } catch (const setup::SetupError&) {
    if (file.Count() >= 6) fuzz::Fail("a file of six lines reads whole", file.Get(0));
    CheckState(state);
    return 0;
  }
  CheckState(state);

  state.DestDir = "C:\\K\\";
  state.DataDir = "C:\\" + setup::WithoutDrivePrefix(state.PrBib) + "\\DATA2005";
  state.YearSeq = "05001";
  try {
    systemSetup.WriteSystemFile();
  } catch (const setup::SetupError&) {
    return 0;  // the system name makes no valid file name
  }
  const std::string path = state.DestDir + state.SysNavn + ".bib";
  const std::vector<std::string> bytes = LineBytes(fs.FileContent(path).value_or(""));
  if (bytes.size() != static_cast<std::size_t>(state.CfgLines.Count())) {
    fuzz::Fail("the written file holds the lines the writer made", path);
  }
  // The written file is Windows-1252, as the installed programs read it.
  setup::TextList written;
  for (const std::string& line : bytes) written.Add(setup::DecodeWindows1252(line));

  // Line 6 is carried: in Windows-1252 where the code page holds it, else
  // with the UTF-8 bytes it was read from.
  const std::string& carried = state.CarriedLine;
  if (bytes[5] != (setup::OutsideWindows1252(carried).empty() ? setup::EncodeWindows1252(carried)
                                                              : carried)) {
    fuzz::Fail("line 6 is carried as it was read", bytes[5]);
  }
  // Refused exactly when line 1, 3 or 4 would lose a character to "?"; a
  // refused installation writes no system file.
  bool loses = false;
  for (const int line : {0, 2, 3}) loses = loses || written.Get(line) != state.CfgLines.Get(line);
  if (setup::SystemFileRefusal(state).empty() == loses) {
    fuzz::Fail("refused exactly when a typed text would not be written as it is",
               setup::SystemFileRefusal(state));
  }
  if (loses) return 0;

  setup::SetupState reread = ScannedState();
  reread.CfgLines = written;
  setup::SystemSetup(reread, fs).ReadSystemFile();
  CheckState(reread);
  if (reread.Comport.selected != state.Comport.selected ||
      reread.Baudrate.selected != state.Baudrate.selected) {
    fuzz::Fail("port and baud rate read back", written.Get(1));
  }
  if (reread.UserPassw.Text() != state.UserPassw.Text()) {
    fuzz::Fail("the user code reads back", written.Get(2));
  }
  // Two forms the format cannot tell apart are left out: a leading "I"
  // marks +CBST=71 when the line is read, so a phone number of its own
  // starting with "I" loses it unless that is the parameter; and a dial line
  // of one character or none, such as "," for an empty number and
  // parameter, means the direct cable.
  const std::string dialLine = written.Get(3);
  const bool ownI = !state.Tlfnr.empty() && state.Tlfnr.front() == 'I' &&
                    state.ModPar.selected != 0 && state.ModPar.text != "+CBST=71";
  if (!ownI && (state.DctCon() || platform::CodePointCount(dialLine) > 1) &&
      DialSettings(reread) != DialSettings(state)) {
    fuzz::Fail("the dial settings read back", DialSettings(state) + " / " + DialSettings(reread));
  }
  return 0;
}
