// The system file (config\<system>.bib): any lines read into the setup state,
// written back, and the written file read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
  const std::string bytes = *fs.FileContent(path);
  setup::TextList written;
  for (std::size_t at = 0; at < bytes.size(); at = bytes.find("\r\n", at) + 2) {
    written.Add(setup::DecodeWindows1252(bytes.substr(at, bytes.find("\r\n", at) - at)));
  }
  // Refused exactly when line 1, 3 or 4 would lose a character: nothing written.
  bool loses = false;
  for (const int line : {0, 2, 3}) loses = loses || written.Get(line) != state.CfgLines.Get(line);
  if (setup::SystemFileRefusal(state).empty() == loses) fuzz::Fail("refused if a text is lost", "");
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
  if (setup::OutsideWindows1252(state.CarriedLine).empty() && reread.CarriedLine != state.CarriedLine) {
    fuzz::Fail("line 6 is carried over", written.Get(5));
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
