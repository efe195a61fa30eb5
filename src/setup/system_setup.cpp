#include "setup/system_setup.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/unicode.h"
#include "setup/names.h"
#include "setup/setup_error.h"
#include "setup/text_file.h"

namespace setup {

using platform::SearchFilter;

namespace {

// Replaces the list with the names found, or leaves it as it was when the
// search found nothing.
void TakeNames(TextList& list, std::vector<platform::DirEntry> entries) {
  if (entries.empty()) return;
  list.Clear();
  list.Reserve(entries.size());
  for (auto& entry : entries) list.Add(std::move(entry.name));  // a data folder can list 100,000s
}

// Line 4 holds the modem parameter unless entry 0, "ingen", is chosen. With
// no entry selected the user typed a parameter of their own; it is written
// as typed rather than lost.
bool WritesModemParameter(const SetupState& state) { return state.ModPar.selected != 0; }
std::string ModemParameter(const SetupState& state) {
  return state.ModPar.selected > 0 ? state.ModPar.Selected() : state.ModPar.text;
}

// The line of the carried text, which is written as it was read.
constexpr int kCarriedLine = 5;

}  // namespace

std::string SystemFileRefusal(const SetupState& state) {
  std::vector<std::pair<const char*, std::string>> texts = {
      {"Programmappen", WithoutDrivePrefix(state.PrBib)},
      {"Brugerkoden", state.UserPassw.Text()},
  };
  if (state.ModemCon()) {
    texts.emplace_back("Telefonnummeret", state.Tlfnr);
    if (WritesModemParameter(state)) texts.emplace_back("Modemparameteren", ModemParameter(state));
  }
  for (const auto& [field, text] : texts) {
    const std::string character = OutsideWindows1252(text);
    if (!character.empty()) {
      return std::string(field) + " kan ikke skrives i systemfilen: tegnet \"" + character +
             "\" kan ikke bruges.";
    }
  }
  return {};
}

std::string WithoutDrivePrefix(std::string_view folder) {
  std::string text(folder);
  const std::size_t colon = platform::CharPos(text, ":");
  if (colon >= 1 && colon <= 3) text = platform::SubstrChars(text, colon + 1);
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

void SystemSetup::ScanSource() {
  state_.ReleaseLists();
  state_.MSnavn.Clear();
  state_.BmpName.clear();
  state_.DataSubDir.clear();

  state_.Comport.selected = 0;
  state_.Baudrate.selected = 0;
  state_.ModPar.Select(0);

  ScanDrives();

  state_.SrcDir = fs_.CurrentDirectory();
  if (state_.SrcDir.empty() || state_.SrcDir.back() != '\\') state_.SrcDir += '\\';

  std::optional<SetupError> systemFileError;
  const auto systemFiles =
      fs_.Search(state_.SrcDir + "config\\*.bib", SearchFilter::kPlainFiles, 1);
  if (!systemFiles.empty()) {
    const std::string& name = systemFiles.front().name;
    try {
      state_.CfgLines = LoadTextFile(fs_, state_.SrcDir + "config\\" + name);
      state_.SysNavn = platform::SubstrChars(name, 0, platform::CodePointCount(name) - 4);
      ReadSystemFile();
    } catch (const SetupError& error) {
      // A short or unreadable system file must not cost the stations, the
      // other file lists and the mode: report it once the scan is done.
      systemFileError = error;
    }
    ScanStations();
  }
  ScanLists();
  ApplyMode();
  if (systemFileError) throw *systemFileError;
}

void SystemSetup::ScanDrives() {
  state_.DrBox.items.clear();
  for (char letter = 'B'; letter <= 'Z'; ++letter) {
    if (platform::FolderExists(fs_, std::string(1, letter) + ":\\")) {
      state_.DrBox.items.emplace_back(1, letter);
    }
  }
  state_.DrBox.selected = state_.DrBox.items.empty() ? -1 : 0;
}

void SystemSetup::ScanStations() {
  const auto stationFiles = fs_.Search(state_.SrcDir + "config\\*.cfg", SearchFilter::kPlainFiles);
  if (stationFiles.empty()) {
    state_.MSnavn.Insert("*");
    return;
  }
  state_.MSnavn.Clear();
  state_.HtmlNames.Clear();
  for (const auto& file : stationFiles) {
    // ABC.cfg names station ABC; other name lengths name no station.
    std::string station;
    if (platform::CodePointCount(file.name) == 7) {
      station = platform::SubstrChars(file.name, 0, 3);
      state_.MSnavn.Insert(station);
    }
    if (platform::FileExists(fs_, state_.SrcDir + "config\\MSinfo\\" + station + ".html")) {
      state_.HtmlNames.Add(station);
    }
  }
}

void SystemSetup::ScanLists() {
  const std::string& src = state_.SrcDir;
  TakeNames(state_.RunFiles, fs_.Search(src + "config\\*.run", SearchFilter::kPlainFiles));
  TakeNames(state_.PicFiles,
            fs_.Search(src + "config\\MSinfo\\pic\\*.*", SearchFilter::kPlainFiles));

  const auto bitmaps = fs_.Search(src + "config\\*.bmp", SearchFilter::kPlainFiles, 1);
  if (!bitmaps.empty()) state_.BmpName = bitmaps.front().name;

  // The data folder is looked for among files and folders alike, so a plain
  // file named like one is taken too; its *.dat search then finds nothing.
  const auto dataFolders = fs_.Search(src + "DATA????", SearchFilter::kFilesAndFolders, 1);
  if (!dataFolders.empty()) {
    state_.DataSubDir = dataFolders.front().name;
    TakeNames(state_.DataFiles,
              fs_.Search(src + state_.DataSubDir + "\\*.dat", SearchFilter::kPlainFiles));
  }
}

void SystemSetup::ApplyMode() {
  state_.FullMode = platform::FileExists(fs_, state_.SrcDir + "prog\\sarnok.exe");
  state_.CommShown = state_.FullMode;
  state_.DialShown = state_.FullMode;
  if (!state_.FullMode) state_.Caption = "VORNEKA installation af DELVIQ";
}

void SystemSetup::ReadSystemFile() {
  // Line 1, the data folder, gives the program folder: "C:\KAMBRIX\DATA2005\"
  // becomes KAMBRIX. Without "\DATA" it holds no folder and PrBib stays.
  const std::string& dataLine = state_.CfgLines.Get(0);
  const std::size_t data = dataLine.find("\\DATA");
  if (data != std::string::npos) state_.PrBib = WithoutDrivePrefix(dataLine.substr(0, data + 1));

  // Line 2: port "," baud. A value that is not one of the fixed entries
  // selects nothing.
  const std::string& portLine = state_.CfgLines.Get(1);
  const std::size_t comma = platform::CharPos(portLine, ",");
  state_.Comport.SelectEqual(comma > 1 ? platform::SubstrChars(portLine, 0, comma - 1) : "");
  state_.Baudrate.SelectEqual(platform::SubstrChars(portLine, comma, 6));

  state_.UserPassw = state_.CfgLines.Get(2);

  // Line 4, the dial line: empty or one character means the direct cable.
  const std::string& dialLine = state_.CfgLines.Get(3);
  if (platform::CodePointCount(dialLine) <= 1) {
    state_.ChooseConnection(Connection::kDirect);
  } else {
    state_.ChooseConnection(Connection::kModem);
    const std::size_t c = platform::CharPos(dialLine, ",");
    if (c == 0) {
      state_.Tlfnr = dialLine;
      state_.ModPar.Select(0);
    } else {
      const bool prefixed = dialLine.front() == 'I';  // "I" marks +CBST=71
      state_.Tlfnr = prefixed ? platform::SubstrChars(dialLine, 1, c - 2)
                              : platform::SubstrChars(dialLine, 0, c - 1);
      state_.ModPar.AppendAndSelect(platform::SubstrChars(dialLine, c, 20));
    }
  }

  state_.CarriedLine = state_.CfgLines.Get(kCarriedLine);
}

std::string SystemSetup::DialLine() const {
  if (!state_.ModemCon()) return {};
  if (!WritesModemParameter(state_)) return state_.Tlfnr;
  const std::string parameter = ModemParameter(state_);
  if (parameter == "+CBST=71") return "I" + state_.Tlfnr + ",+CBST=71";
  return state_.Tlfnr + "," + parameter;
}

void SystemSetup::WriteSystemFile() {
  TextList& lines = state_.CfgLines;
  lines.Clear();
  lines.Add(state_.DataDir + "\\");
  lines.Add(state_.Comport.Selected() + "," + state_.Baudrate.Selected());
  lines.Add(state_.UserPassw.Text());
  lines.Add(DialLine());
  lines.Add(state_.YearSeq);
  lines.Add(state_.CarriedLine);
  for (std::string station : state_.MSnavn.items) {
    for (char& c : station) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    lines.Add(station);
  }
  const std::string name = SystemFileName(state_);
  const std::string path = state_.DestDir + name;
  // A name that is no file of the target folder ("..\Windows\x", "AUX",
  // "Vest|kyst") is never opened; it fails as a file that cannot be created.
  if (!UsableNamePart(name)) throw SetupError("Cannot create file " + path);
  SaveTextFile(fs_, path, lines, kCarriedLine);
}

}  // namespace setup
