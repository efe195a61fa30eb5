#include "setup/setup_state.h"

#include <algorithm>

#include "platform/unicode.h"
#include "setup/names.h"
#include "setup/text_file.h"

namespace setup {

std::string ChoiceList::Selected() const {
  if (selected < 0 || selected >= static_cast<int>(items.size())) return {};
  return items[static_cast<std::size_t>(selected)];
}

void ChoiceList::SelectEqual(const std::string& value) {
  const auto it = std::find(items.begin(), items.end(), value);
  selected = it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void EditableChoiceList::Select(int index) {
  selected = index >= 0 && index < static_cast<int>(items.size()) ? index : -1;
  text = Selected();
}

void EditableChoiceList::SetText(const std::string& typed) {
  SelectEqual(typed);
  text = typed;
}

void EditableChoiceList::AppendAndSelect(const std::string& entry) {
  items.push_back(entry);
  Select(static_cast<int>(items.size()) - 1);
}

void StationList::Insert(const std::string& station) {
  const auto place = std::upper_bound(
      items.begin(), items.end(), station, [](const std::string& a, const std::string& b) {
        return platform::CompareIgnoreCase(a, b) < 0;
      });
  items.insert(place, station);
}

bool StationList::ContainsIgnoreCase(const std::string& station) const {
  return std::any_of(items.begin(), items.end(), [&](const std::string& item) {
    return platform::EqualsIgnoreCase(item, station);
  });
}

void StationList::Clear() {
  items.clear();
  entry.clear();
}

UpperCaseText& UpperCaseText::operator=(const std::string& text) {
  text_ = platform::ToUpper(text);
  return *this;
}

SetupState::SetupState() {
  Comport.items = {"COM1", "COM2", "COM3", "COM4"};
  Baudrate.items = {"9600", "19200"};
  ModPar.items = {"ingen", "+CBST=7", "+CBST=71"};
}

void SetupState::ChooseConnection(Connection connection) {
  connection_ = connection;
  DialShown = !DctCon();
}

bool SetupState::EnterStation() {
  std::string& entry = MSnavn.entry;
  // A station the system file cannot name is no use either: "łód" would be
  // written as "?ÓD".
  if (entry.empty() || MSnavn.ContainsIgnoreCase(entry) || !UsableNamePart(entry) ||
      !OutsideWindows1252(entry).empty()) {
    return false;
  }
  entry = platform::ToUpper(entry);
  MSnavn.Insert(entry);
  entry.clear();
  return true;
}

void SetupState::ReleaseLists() {
  for (TextList* list : {&CfgLines, &InstFiles, &HtmlNames, &RunFiles, &PicFiles, &DataFiles}) {
    list->Clear();
  }
}

}  // namespace setup
