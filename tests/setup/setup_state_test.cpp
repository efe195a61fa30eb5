#include "setup/setup_state.h"

#include <gmock/gmock.h>

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
