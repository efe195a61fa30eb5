#include "setup/setup_state.h"

#include <gmock/gmock.h>


namespace {

using ::testing::ElementsAre;

// Before the scan the record is what the window opens with: the modem with
// its dial group as the connection rule has it, no drive, port, rate or
// modem parameter chosen, and nothing installed.
TEST(SetupState, FreshRecordIsTheModemWithNothingChosen) {
  setup::SetupState state;
  EXPECT_TRUE(state.ModemCon() && !state.DctCon());
  const bool commShown = state.CommShown, dialShown = state.DialShown;
  state.ChooseConnection(setup::Connection::kModem);
  EXPECT_EQ(commShown, state.CommShown);
  EXPECT_EQ(dialShown, state.DialShown);
  for (const setup::ChoiceList* list : {&state.DrBox, &state.Comport, &state.Baudrate}) {
    EXPECT_EQ("", list->Selected());
  }
  EXPECT_EQ(-1, state.ModPar.selected);
  EXPECT_EQ("", state.ModPar.text);
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

}  // namespace
