// The state to the controls and back: the controls show the setup state
// after the scan and after an install, and each edit of a control is written
// to the state at once (TForm1::OnCommand, while the window is idle).
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide.h"
#include "ui/form.h"

namespace ui {

namespace {

std::string TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return platform::Narrow(text);
}

// Sets nothing, and so sends no notification, when the text is there already.
void SetText(HWND control, const std::string& text) {
  if (TextOf(control) != text) SetWindowTextW(control, platform::Widen(text).c_str());
}

void FillList(HWND combo, const std::vector<std::string>& items, int selected) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(item).c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int Selection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

}  // namespace

void TForm1::ShowState() {
  {
    const PhaseScope showing(phase_, Phase::kShowing);
    SetWindowTextW(Handle(), platform::Widen(state_.Caption).c_str());
    SetText(Control(kSysNavn), state_.SysNavn);
    SetText(Control(kPrBib), state_.PrBib);
    SetText(Control(kUserPassw), state_.UserPassw.Text());
    SetText(Control(kTlfnr), state_.Tlfnr);
    FillList(Control(kDrBox), state_.DrBox.items, state_.DrBox.selected);
    FillList(Control(kComport), state_.Comport.items, state_.Comport.selected);
    FillList(Control(kBaudrate), state_.Baudrate.items, state_.Baudrate.selected);
    FillList(Control(kModPar), state_.ModPar.items, state_.ModPar.selected);
    if (state_.ModPar.selected < 0) SetText(Control(kModPar), state_.ModPar.text);
  }
  ShowStations();
  ShowConnection();
  ShowGroups();
}

void TForm1::ShowStations() {
  const PhaseScope showing(phase_, Phase::kShowing);
  FillList(Control(kMSnavn), state_.MSnavn.items, -1);
  SetText(Control(kMSnavn), state_.MSnavn.entry);
}

void TForm1::ShowConnection() {
  const PhaseScope showing(phase_, Phase::kShowing);
  const std::pair<ControlId, bool> radios[] = {{kModemCon, state_.ModemCon()},
                                               {kDctCon, state_.DctCon()}};
  for (const auto& [id, set] : radios) {
    HWND radio = Control(id);
    SendMessageW(radio, BM_SETCHECK, set ? BST_CHECKED : BST_UNCHECKED, 0);
    // Only the set radio button is a tab stop.
    LONG_PTR style = GetWindowLongPtrW(radio, GWL_STYLE);
    style = set ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(radio, GWL_STYLE, style);
  }
}

void TForm1::ShowGroups() {
  for (const ControlSpec& entry : kControls) {
    bool shown = true;
    if (entry.group == Group::kComm) shown = state_.CommShown;
    if (entry.group == Group::kDial) shown = state_.DialShown;
    HWND control = Control(entry.id);
    if (!shown && GetFocus() == control) SetFocus(Control(kInStall));
    ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
  }
}

void TForm1::OnCommand(int id, int code) {
  HWND control = Control(static_cast<ControlId>(id));
  switch (id) {
    case kSysNavn:
      if (code == EN_CHANGE) state_.SysNavn = TextOf(control);
      break;
    case kPrBib:
      if (code == EN_CHANGE) state_.PrBib = TextOf(control);
      break;
    case kUserPassw:
      if (code == EN_CHANGE) state_.UserPassw = TextOf(control);
      break;
    case kTlfnr:
      if (code == EN_CHANGE) state_.Tlfnr = TextOf(control);
      break;
    case kDrBox:
      if (code == CBN_SELCHANGE) state_.DrBox.selected = Selection(control);
      break;
    case kComport:
      if (code == CBN_SELCHANGE) state_.Comport.selected = Selection(control);
      break;
    case kBaudrate:
      if (code == CBN_SELCHANGE) state_.Baudrate.selected = Selection(control);
      break;
    case kModPar:
      if (code == CBN_SELCHANGE) state_.ModPar.Select(Selection(control));
      if (code == CBN_EDITCHANGE) state_.ModPar.SetText(TextOf(control));
      break;
    case kMSnavn:
      if (code == CBN_SELCHANGE) {
        const int index = Selection(control);
        if (index >= 0) state_.MSnavn.entry = state_.MSnavn.items[static_cast<std::size_t>(index)];
      }
      if (code == CBN_EDITCHANGE) state_.MSnavn.entry = TextOf(control);
      break;
    case kModemCon:
    case kDctCon:
      if (code == BN_CLICKED) {
        state_.ChooseConnection(id == kDctCon ? setup::Connection::kDirect : setup::Connection::kModem);
        RadioClick();
      }
      break;
    case kInStall:
      if (code == BN_CLICKED) InStallClick();
      break;
    case kButton2:
      if (code == BN_CLICKED) Button2Click();
      break;
    default:
      break;
  }
}

}  // namespace ui
