// The setup state: everything the program knows between start and
// installation. The window shows the visible fields in controls of the same
// names and writes every edit back here; the scan, the system file and the
// installation read and write the fields directly. Nothing here knows of
// windows.
#pragma once

#include <string>
#include <vector>

#include "setup/text_list.h"

namespace setup {

// A list of entries with a selected index, -1 when none is chosen.
struct ChoiceList {
  std::vector<std::string> items;
  int selected = -1;

  // The selected entry, empty when none is chosen.
  std::string Selected() const;
  // Selects the first entry equal to `value` (case counts); -1 when none is.
  void SelectEqual(const std::string& value);
};

// A list the user can also type into: the text is the selected entry's, or
// text of the user's own that selects no entry.
struct EditableChoiceList : ChoiceList {
  std::string text;

  void Select(int index);
  // Text typed by the user; it selects the first entry equal to it, if any.
  void SetText(const std::string& typed);
  // Appends an entry (duplicates allowed) and selects it.
  void AppendAndSelect(const std::string& entry);
};

// The measuring stations: kept sorted, ignoring case, on every insertion.
struct StationList {
  std::vector<std::string> items;
  std::string entry;  // what the user is typing, at most 3 characters

  void Insert(const std::string& station);
  bool ContainsIgnoreCase(const std::string& station) const;
  void Clear();
};

// Text that holds upper case only: letters set into it become upper case.
class UpperCaseText {
 public:
  UpperCaseText& operator=(const std::string& text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

enum class Connection { kModem, kDirect };

struct SetupState {
  SetupState();

  // Visible settings.
  std::string SysNavn = " KAMBRIX datalogger";
  ChoiceList DrBox;
  std::string PrBib = "KAMBRIX";
  ChoiceList Comport;
  ChoiceList Baudrate;
  UpperCaseText UserPassw;
  std::string Tlfnr;
  EditableChoiceList ModPar;
  std::string Caption = "VORNEKA installation af KAMBRIX programmer";
  bool CommShown = true;
  bool DialShown = true;
  StationList MSnavn;

  // Exactly one of the two connection flags is set.
  bool ModemCon() const { return connection_ == Connection::kModem; }
  bool DctCon() const { return connection_ == Connection::kDirect; }
  // Chooses the connection and applies the connection rule: the direct
  // connection hides the dial group, the modem shows it.
  void ChooseConnection(Connection connection);

  // The station entry rule, for Enter in the station box: the typed entry,
  // upper-cased, joins the list and the entry is emptied; an empty entry, one
  // already listed (case ignored), one that is no usable file name (AUX, a
  // "?": see UsableNamePart) or one with a character Windows-1252 cannot
  // hold ("łód") is ignored and stays typed. True when it joined.
  bool EnterStation();

  // Hidden fields.
  std::string SrcDir;
  TextList CfgLines;
  TextList InstFiles;
  TextList HtmlNames;
  TextList RunFiles;
  TextList PicFiles;
  TextList DataFiles;
  std::string BmpName;
  std::string DataSubDir;
  std::string CarriedLine;
  bool FullMode = false;
  std::string DestDir;
  std::string DataDir;
  std::string YearSeq;

  // Empties the six text lists, as when the window that owns them closes.
  void ReleaseLists();

 private:
  Connection connection_ = Connection::kModem;
};

}  // namespace setup
