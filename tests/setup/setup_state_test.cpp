#include "setup/setup_state.h"

#include <gmock/gmock.h>

#include "setup/names.h"
#include "setup/setup_error.h"

namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(SetupState, FreshRecordHoldsTheDefaults) {
  const setup::SetupState state;
  EXPECT_EQ(" KAMBRIX datalogger", state.SysNavn);
  EXPECT_EQ("KAMBRIX", state.PrBib);
  EXPECT_TRUE(state.DrBox.items.empty());
  EXPECT_EQ(-1, state.DrBox.selected);
  EXPECT_EQ(-1, state.Comport.selected);
  EXPECT_EQ(-1, state.Baudrate.selected);
  EXPECT_EQ(-1, state.ModPar.selected);
  EXPECT_THAT(state.ModPar.items, ElementsAre("ingen", "+CBST=7", "+CBST=71"));
  EXPECT_TRUE(state.ModemCon());
  EXPECT_FALSE(state.DctCon());
  EXPECT_EQ("VORNEKA installation af KAMBRIX programmer", state.Caption);
  EXPECT_TRUE(state.DestDir.empty() && state.DataDir.empty() && state.YearSeq.empty());
}

TEST(SetupState, UserCodeHoldsUpperCaseOnly) {
  setup::SetupState state;
  state.UserPassw = "kode æøå 12";
  EXPECT_EQ("KODE ÆØÅ 12", state.UserPassw.Text());
}

TEST(SetupState, ConnectionRuleShowsTheDialGroupForTheModemOnly) {
  setup::SetupState state;
  state.ChooseConnection(setup::Connection::kDirect);
  EXPECT_TRUE(state.DctCon());
  EXPECT_FALSE(state.ModemCon());
  EXPECT_FALSE(state.DialShown);
  state.ChooseConnection(setup::Connection::kModem);
  EXPECT_TRUE(state.DialShown);
}

TEST(SetupState, StationsStaySortedIgnoringCase) {
  setup::StationList stations;
  for (const char* station : {"XYZ", "abc", "Ørn", "ABD", "Åen", "Æbl", "*"}) stations.Insert(station);
  EXPECT_THAT(stations.items, ElementsAre("*", "abc", "ABD", "XYZ", "Æbl", "Ørn", "Åen"));
  EXPECT_TRUE(stations.ContainsIgnoreCase("ABC"));
  EXPECT_TRUE(stations.ContainsIgnoreCase("øRN"));
  EXPECT_FALSE(stations.ContainsIgnoreCase("AB"));
}

TEST(SetupState, StationEntryAddsNewUsableNamesInUpperCaseAndKeepsTheRestTyped) {
  setup::SetupState state;
  const std::pair<const char*, bool> cases[] = {{"abc", true}, {"ABC", false}, {"", false},
      {"aux", false}, {"a?", false}, {"a.", false}, {"dæf", true}, {"łód", false}};
  for (const auto& [typed, added] : cases) {
    state.MSnavn.entry = typed;
    EXPECT_EQ(added, state.EnterStation()) << typed;
    EXPECT_EQ(added ? "" : typed, state.MSnavn.entry);
  }
  EXPECT_THAT(state.MSnavn.items, ElementsAre("ABC", "DÆF"));
}

TEST(Names, UsablePartsAreWhatWindowsCanNameAFileOfItsOwn) {
  using Parts = std::initializer_list<std::string>;
  const std::string a255(255, 'a');
  for (const std::string& part : Parts{"KAMBRIX", " KAMBRIX datalogger.bib", "x..y", ".x", "ÆØÅ",
       "COM10", "LPT", "CONIN", "NULL.txt", "a.NUL", "COM\xC2\xB4", "\x7F", a255,
       a255.substr(1) + "é"}) {
    EXPECT_TRUE(setup::UsableNamePart(part)) << part;
  }
  for (const std::string& part : Parts{"", "a<b", "a>b", "a:b", "a\"b", "a/b", "a\\b", "a|b", "a?",
       "a*", "a\x01", "a\x1F", "KB_DOT.", "x ", "NUL", "nul", "Aux.cfg", "CON .txt", "PRN. ",
       "com1", "LPT9.x.y", "COM0", "COM\xC2\xB9", "lpt\xC2\xB2", "LPT\xC2\xB3.txt", "CONIN$",
       "conout$.x",
       a255 + "a", a255.substr(1) + "\xF0\x9F\x98\x80"}) {
    EXPECT_FALSE(setup::UsableNamePart(part)) << part;
  }
}

TEST(SetupState, ModemParameterTextSelectsAnEqualEntryOnly) {
  setup::EditableChoiceList modPar;
  modPar.items = {"ingen", "+CBST=7"};
  modPar.SetText("+CBST=7");
  EXPECT_EQ(1, modPar.selected);
  modPar.SetText("+cbst=7");
  EXPECT_EQ(-1, modPar.selected);
  EXPECT_EQ("+cbst=7", modPar.text);
  modPar.AppendAndSelect("+CBST=7");
  EXPECT_EQ(2, modPar.selected);
  EXPECT_EQ("+CBST=7", modPar.text);
  for (const int outside : {3, -2}) {
    modPar.Select(outside);
    EXPECT_EQ(-1, modPar.selected) << outside;
    EXPECT_EQ("", modPar.text) << outside;
  }
}

TEST(TextList, IndexOutsideTheListIsAnError) {
  setup::TextList list;
  list.Add("a");
  EXPECT_EQ("a", list.Get(0));
  EXPECT_THAT([&] { list.Get(5); },
              ThrowsMessage<setup::SetupError>(StrEq("List index out of bounds (5)")));
  EXPECT_THROW(list.Get(-1), setup::SetupError);
}

}  // namespace
