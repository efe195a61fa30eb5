// The setup window's controls, as one table that reads like the layout it
// describes: kind, place at 96 DPI, text, tab order, visibility group,
// tooltip and anchoring. The window creates its controls from it.
#pragma once

#include <array>

namespace ui {

// Control identifiers; programs that drive the window find controls by them.
enum ControlId : int {
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

struct ControlSpec {
  ControlId id;
  const char* name;
  Kind kind;
  int left, top, width, height;  // pixels at 96 DPI
  const char* text;
  int tabOrder;  // -1: not in the tab order
  Group group;
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

// In creation order.
inline constexpr std::array<ControlSpec, 23> kControls = {{
    {kLabel1, "Label1", Kind::kLabel, 15, 85, 80, 13, "Program mappe :", -1, Group::kAlways, nullptr, Anchor::kLeftTop},
    {kLabel2, "Label2", Kind::kLabel, 15, 120, 45, 13, "Comport :", -1, Group::kComm, nullptr, Anchor::kLeftTop},
    {kLabel3, "Label3", Kind::kLabel, 190, 120, 43, 13, "Baudrate", -1, Group::kComm, nullptr, Anchor::kLeftTop},
    {kLabel4, "Label4", Kind::kLabel, 15, 155, 55, 13, "Brugerkode", -1, Group::kComm, nullptr, Anchor::kLeftTop},
    {kLabel5, "Label5", Kind::kLabel, 180, 185, 24, 13, "Tlf nr", -1, Group::kDial, nullptr, Anchor::kLeftTop},
    {kLabel6, "Label6", Kind::kLabel, 340, 185, 82, 13, "Modemparametre", -1, Group::kDial, nullptr, Anchor::kLeftTop},
    {kLabel7, "Label7", Kind::kLabel, 15, 250, 69, 13, "Målestation(er)", -1, Group::kAlways, nullptr, Anchor::kLeftTop},
    {kLabel8, "Label8", Kind::kLabel, 246, 249, 3, 13, "", -1, Group::kAlways, nullptr, Anchor::kLeftTop},
    {kLSysNvn, "LSysNvn", Kind::kLabel, 15, 10, 61, 13, "System navn", -1, Group::kAlways, nullptr, Anchor::kLeftTop},
    {kLabel9, "Label9", Kind::kLabel, 15, 50, 79, 13, "Installer til drev : ", -1, Group::kAlways, nullptr, Anchor::kLeftTop},
    {kInStall, "InStall", Kind::kButton, 15, 315, 116, 25, "Installer programmer", 0, Group::kAlways, nullptr, Anchor::kLeftBottom},
    {kButton2, "Button2", Kind::kButton, 445, 315, 75, 25, "EXIT", 1, Group::kAlways, nullptr, Anchor::kRightBottom},
    {kPrBib, "PrBib", Kind::kEdit, 100, 80, 416, 21, "KAMBRIX", 2, Group::kAlways,
     "mappen hvor programmer bliver installeres - kan vælges frit", Anchor::kLeftTop},
    // Its hint "Brugerkode" is never shown as a tooltip.
    {kUserPassw, "UserPassw", Kind::kEdit, 100, 150, 111, 21, "", 3, Group::kComm, nullptr, Anchor::kLeftTop},
    {kComport, "Comport", Kind::kDropDownList, 100, 115, 71, 21, "", 4, Group::kComm,
     "Computerens COM port nr hvor modemet eller kabel til hovedstationen er tilsluttet", Anchor::kLeftTop},
    {kBaudrate, "Baudrate", Kind::kDropDownList, 250, 115, 56, 21, "", 5, Group::kComm,
     "Baudrate sættes til 19200 ved modem og GSM modem forbindelse  9600 ved direkte forbindelse til hovedstationen med kabel",
     Anchor::kLeftTop},
    {kModemCon, "ModemCon", Kind::kRadio, 15, 185, 131, 17, "Forbindelse via modem", 6, Group::kComm, nullptr, Anchor::kLeftTop},
    {kDctCon, "DctCon", Kind::kRadio, 15, 210, 131, 17, "Direkte forbindelse", 7, Group::kComm, nullptr, Anchor::kLeftTop},
    {kTlfnr, "Tlfnr", Kind::kEdit, 225, 180, 101, 21, "", 8, Group::kDial,
     "tlf nr på GSM målestationen eller GSM hovedstation", Anchor::kLeftTop},
    {kModPar, "ModPar", Kind::kComboBox, 435, 180, 76, 21, "", 9, Group::kDial,
     "Normalt modem vælg ingen - TC35 GSM modem vælg +CBST=71 eller +CBST=7", Anchor::kLeftTop},
    {kMSnavn, "MSnavn", Kind::kComboBox, 105, 245, 61, 21, "", 10, Group::kAlways, nullptr, Anchor::kLeftTop},
    {kSysNavn, "SysNavn", Kind::kEdit, 100, 10, 416, 21, " KAMBRIX datalogger", 11, Group::kAlways,
     "Vælg navn på system ", Anchor::kLeftTop},
    {kDrBox, "DrBox", Kind::kDropDownList, 101, 48, 41, 21, "", 12, Group::kAlways,
     "Vælg drev hvor installation af programmer skal foretages", Anchor::kLeftTop},
}};

// Each field and the label that names it. A screen reader takes a field's
// name from the window just before it in the window order.
struct FieldLabel {
  ControlId field;
  ControlId label;
};
inline constexpr std::array<FieldLabel, 9> kFieldLabels = {{
    {kSysNavn, kLSysNvn},
    {kDrBox, kLabel9},
    {kPrBib, kLabel1},
    {kComport, kLabel2},
    {kBaudrate, kLabel3},
    {kUserPassw, kLabel4},
    {kTlfnr, kLabel5},
    {kModPar, kLabel6},
    {kMSnavn, kLabel7},
}};

inline constexpr int kListItemHeight = 13;   // pixels at 96 DPI
inline constexpr int kDropDownItems = 8;     // entries shown at a time
inline constexpr int kStationMaxLength = 3;  // characters typed into MSnavn
inline constexpr unsigned kTooltipShowMs = 500;
inline constexpr unsigned kTooltipHideMs = 2500;

}  // namespace ui
