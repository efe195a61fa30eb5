// The setup window's controls, as one table that reads like the layout it
// describes: kind, place at 96 DPI, text, tab order, visibility group, style,
// the field of the setup state it shows and edits, the label that names it,
// tooltip and anchoring. The window creates its controls from it, shows the
// state in them and writes their edits back by it: a new field of the window
// is a row here (with its identifier) and its field in the setup state.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <variant>

#include "setup/setup_state.h"

namespace ui {

// Control identifiers; programs that drive the window find controls by them.
enum ControlId : int {
  kNone = 0,
  kLabel1 = 101,
  kLabel2,
  kLabel3,
  kLabel4,
  kLabel5,
  kLabel6,
  kLabel7,
  kLabel8,
  kLSysNvn,
  kLabel9,
  kInStall,
  kButton2,
  kPrBib,
  kUserPassw,
  kComport,
  kBaudrate,
  kModemCon,
  kDctCon,
  kTlfnr,
  kModPar,
  kMSnavn,
  kSysNavn,
  kDrBox,
};

enum class Kind {
  kLabel,
  kButton,
  kEdit,
  kDropDownList,  // a list without typing
  kComboBox,      // a list with typing
  kRadio,         // text left of the button
};

// The state flag that shows or hides a control.
enum class Group { kAlways, kComm, kDial };

enum class Anchor { kLeftTop, kLeftBottom, kRightBottom };

using State = setup::SetupState;

// The field of the setup state that a control shows and edits; its type says
// how: a text in an edit box, a list with its selection, the stations with
// the entry typed, or the connection that a radio button chooses.
using Field = std::variant<std::monostate, std::string State::*, setup::UpperCaseText State::*,
                           setup::ChoiceList State::*, setup::EditableChoiceList State::*,
                           setup::StationList State::*, setup::Connection>;

struct ControlSpec {
  ControlId id;
  const char* name;
  Kind kind;
  int left, top, width, height;  // pixels at 96 DPI
  const char* text;  // a bound control's text is its field's
  int tabOrder;  // -1: not in the tab order
  Group group;
  // Added to the kind's style. WS_GROUP: a group of its own; arrow keys
  // move within a group, so only the second radio button has none. Labels
  // too: the label after the radio buttons would otherwise join them.
  DWORD style;
  Field field;
  // The label that names the field: a screen reader takes a field's name
  // from the window just before it in the window order.
  ControlId label;
  const char* tooltip;  // nullptr: none shown
  Anchor anchor;
};

inline constexpr int kDesignDpi = 96;

struct WindowSpec {
  int left, top, width, height;  // outer size, at 96 DPI
  const char* fontFace;
  int fontPoints;
};

inline constexpr WindowSpec kWindow = {264, 134, 549, 383, "MS Sans Serif", 8};

// In creation order, which is the order of the identifiers.
inline constexpr ControlSpec kControls[] = {
    {kLabel1, "Label1", Kind::kLabel, 15, 85, 80, 13, "Program mappe :", -1, Group::kAlways, WS_GROUP, {}, kNone,
     nullptr, Anchor::kLeftTop},
    {kLabel2, "Label2", Kind::kLabel, 15, 120, 45, 13, "Comport :", -1, Group::kComm, WS_GROUP, {}, kNone, nullptr,
     Anchor::kLeftTop},
    {kLabel3, "Label3", Kind::kLabel, 190, 120, 43, 13, "Baudrate", -1, Group::kComm, WS_GROUP, {}, kNone, nullptr,
     Anchor::kLeftTop},
    {kLabel4, "Label4", Kind::kLabel, 15, 155, 55, 13, "Brugerkode", -1, Group::kComm, WS_GROUP, {}, kNone, nullptr,
     Anchor::kLeftTop},
    {kLabel5, "Label5", Kind::kLabel, 180, 185, 24, 13, "Tlf nr", -1, Group::kDial, WS_GROUP, {}, kNone, nullptr,
     Anchor::kLeftTop},
    {kLabel6, "Label6", Kind::kLabel, 340, 185, 82, 13, "Modemparametre", -1, Group::kDial, WS_GROUP, {}, kNone,
     nullptr, Anchor::kLeftTop},
    {kLabel7, "Label7", Kind::kLabel, 15, 250, 69, 13, "Målestation(er)", -1, Group::kAlways, WS_GROUP, {}, kNone,
     nullptr, Anchor::kLeftTop},
    {kLabel8, "Label8", Kind::kLabel, 246, 249, 3, 13, "", -1, Group::kAlways, WS_GROUP, {}, kNone, nullptr,
     Anchor::kLeftTop},
    {kLSysNvn, "LSysNvn", Kind::kLabel, 15, 10, 61, 13, "System navn", -1, Group::kAlways, WS_GROUP, {}, kNone,
     nullptr, Anchor::kLeftTop},
    {kLabel9, "Label9", Kind::kLabel, 15, 50, 79, 13, "Installer til drev : ", -1, Group::kAlways, WS_GROUP,
     {}, kNone, nullptr, Anchor::kLeftTop},
    {kInStall, "InStall", Kind::kButton, 15, 315, 116, 25, "Installer programmer", 0, Group::kAlways,
     WS_GROUP, {}, kNone, nullptr, Anchor::kLeftBottom},
    {kButton2, "Button2", Kind::kButton, 445, 315, 75, 25, "EXIT", 1, Group::kAlways, WS_GROUP, {}, kNone, nullptr,
     Anchor::kRightBottom},
    {kPrBib, "PrBib", Kind::kEdit, 100, 80, 416, 21, "", 2, Group::kAlways, WS_GROUP, &State::PrBib, kLabel1,
     "mappen hvor programmer bliver installeres - kan vælges frit", Anchor::kLeftTop},
    // Its hint "Brugerkode" is never shown as a tooltip.
    {kUserPassw, "UserPassw", Kind::kEdit, 100, 150, 111, 21, "", 3, Group::kComm, WS_GROUP | ES_UPPERCASE,
     &State::UserPassw, kLabel4, nullptr, Anchor::kLeftTop},
    {kComport, "Comport", Kind::kDropDownList, 100, 115, 71, 21, "", 4, Group::kComm, WS_GROUP,
     &State::Comport, kLabel2,
     "Computerens COM port nr hvor modemet eller kabel til hovedstationen er tilsluttet", Anchor::kLeftTop},
    {kBaudrate, "Baudrate", Kind::kDropDownList, 250, 115, 56, 21, "", 5, Group::kComm, WS_GROUP,
     &State::Baudrate, kLabel3,
     "Baudrate sættes til 19200 ved modem og GSM modem forbindelse  9600 ved direkte forbindelse til hovedstationen med kabel",
     Anchor::kLeftTop},
    {kModemCon, "ModemCon", Kind::kRadio, 15, 185, 131, 17, "Forbindelse via modem", 6, Group::kComm,
     WS_GROUP, setup::Connection::kModem, kNone, nullptr, Anchor::kLeftTop},
    {kDctCon, "DctCon", Kind::kRadio, 15, 210, 131, 17, "Direkte forbindelse", 7, Group::kComm, 0,
     setup::Connection::kDirect, kNone, nullptr, Anchor::kLeftTop},
    {kTlfnr, "Tlfnr", Kind::kEdit, 225, 180, 101, 21, "", 8, Group::kDial, WS_GROUP, &State::Tlfnr, kLabel5,
     "tlf nr på GSM målestationen eller GSM hovedstation", Anchor::kLeftTop},
    {kModPar, "ModPar", Kind::kComboBox, 435, 180, 76, 21, "", 9, Group::kDial, WS_GROUP, &State::ModPar, kLabel6,
     "Normalt modem vælg ingen - TC35 GSM modem vælg +CBST=71 eller +CBST=7", Anchor::kLeftTop},
    {kMSnavn, "MSnavn", Kind::kComboBox, 105, 245, 61, 21, "", 10, Group::kAlways, WS_GROUP, &State::MSnavn, kLabel7,
     nullptr, Anchor::kLeftTop},
    {kSysNavn, "SysNavn", Kind::kEdit, 100, 10, 416, 21, "", 11, Group::kAlways, WS_GROUP, &State::SysNavn, kLSysNvn,
     "Vælg navn på system ", Anchor::kLeftTop},
    {kDrBox, "DrBox", Kind::kDropDownList, 101, 48, 41, 21, "", 12, Group::kAlways, WS_GROUP, &State::DrBox, kLabel9,
     "Vælg drev hvor installation af programmer skal foretages", Anchor::kLeftTop},
};

constexpr bool RowsInIdOrder() {
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    if (kControls[i].id != kLabel1 + static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(RowsInIdOrder(), "a control's row is found by its identifier");

// The row of control `id`.
constexpr const ControlSpec& Row(ControlId id) {
  return kControls[static_cast<std::size_t>(id - kLabel1)];
}

// The window class and style that each kind of control is made with.
struct WindowClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

constexpr WindowClass ClassOf(Kind kind) {
  switch (kind) {
    case Kind::kLabel: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::kButton: return {L"BUTTON", BS_PUSHBUTTON, 0};
    case Kind::kEdit: return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::kDropDownList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case Kind::kComboBox: return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
    case Kind::kRadio: return {L"BUTTON", BS_AUTORADIOBUTTON | BS_LEFTTEXT, 0};
  }
  return {L"STATIC", 0, 0};
}

// The style a control is made with: its kind's, its row's, and a tab stop
// where it has a place in the tab order.
constexpr DWORD StyleOf(const ControlSpec& row) {
  return WS_CHILD | WS_VISIBLE | ClassOf(row.kind).style | row.style |
         (row.tabOrder >= 0 ? WS_TABSTOP : 0);
}

inline constexpr int kListItemHeight = 13;   // pixels at 96 DPI
inline constexpr int kDropDownItems = 8;     // entries shown at a time
inline constexpr int kStationMaxLength = 3;  // characters typed into MSnavn
inline constexpr unsigned kTooltipShowMs = 500;
inline constexpr unsigned kTooltipHideMs = 2500;

}  // namespace ui
