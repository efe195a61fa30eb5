#include "ui/form_state.h"

#include <string>
#include <variant>
#include <vector>

#include "platform/win32/wide.h"

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

bool Chosen(const setup::SetupState& state, setup::Connection connection) {
  return connection == setup::Connection::kModem ? state.ModemCon() : state.DctCon();
}

// A field into its control, by the field's type.
struct Show {
  HWND control;
  const setup::SetupState& state;

  void operator()(std::monostate) const {}
  void operator()(std::string State::*field) const { SetText(control, state.*field); }
  void operator()(setup::UpperCaseText State::*field) const { SetText(control, (state.*field).Text()); }
  void operator()(setup::ChoiceList State::*field) const {
    FillList(control, (state.*field).items, (state.*field).selected);
  }
  void operator()(setup::EditableChoiceList State::*field) const {
    const setup::EditableChoiceList& list = state.*field;
    FillList(control, list.items, list.selected);
    if (list.selected < 0) SetText(control, list.text);
  }
  void operator()(setup::StationList State::*field) const {
    FillList(control, (state.*field).items, -1);
    SetText(control, (state.*field).entry);
  }
  void operator()(setup::Connection connection) const {
    const bool set = Chosen(state, connection);
    SendMessageW(control, BM_SETCHECK, set ? BST_CHECKED : BST_UNCHECKED, 0);
    // Only the set radio button is a tab stop.
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    style = set ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(control, GWL_STYLE, style);
  }
};

// A control's edit, which notification `code` tells of, into its field.
struct Edit {
  HWND control;
  int code;
  setup::SetupState& state;

  void operator()(std::monostate) const {}
  void operator()(std::string State::*field) const {
    if (code == EN_CHANGE) state.*field = TextOf(control);
  }
  void operator()(setup::UpperCaseText State::*field) const {
    if (code == EN_CHANGE) state.*field = TextOf(control);
  }
  void operator()(setup::ChoiceList State::*field) const {
    if (code == CBN_SELCHANGE) (state.*field).selected = Selection(control);
  }
  void operator()(setup::EditableChoiceList State::*field) const {
    if (code == CBN_SELCHANGE) (state.*field).Select(Selection(control));
    if (code == CBN_EDITCHANGE) (state.*field).SetText(TextOf(control));
  }
  void operator()(setup::StationList State::*field) const {
    setup::StationList& stations = state.*field;
    const int index = code == CBN_SELCHANGE ? Selection(control) : -1;
    if (index >= 0) stations.entry = stations.items[static_cast<std::size_t>(index)];
    if (code == CBN_EDITCHANGE) stations.entry = TextOf(control);
  }
  void operator()(setup::Connection connection) const {
    if (code == BN_CLICKED) state.ChooseConnection(connection);
  }
};

}  // namespace

void FormState::ShowState(HWND form) {
  {
    const PhaseScope showing(phase_, Phase::kShowing);
    SetWindowTextW(form, platform::Widen(state_.Caption).c_str());
  }
  for (const ControlSpec& entry : kControls) ShowField(entry.id);
  ShowGroups();
}

void FormState::ShowField(ControlId id) {
  const PhaseScope showing(phase_, Phase::kShowing);
  std::visit(Show{layout_.Control(id), state_}, Row(id).field);
}

void FormState::OnCommand(ControlId id, int code) {
  if (id < kLabel1 || id >= kLabel1 + static_cast<int>(std::size(kControls))) return;
  const Field& field = Row(id).field;
  std::visit(Edit{layout_.Control(id), code, state_}, field);
  if (std::holds_alternative<setup::Connection>(field) && code == BN_CLICKED) RadioClick();
}

void FormState::RadioClick() {
  for (const ControlSpec& entry : kControls) {
    if (std::holds_alternative<setup::Connection>(entry.field)) ShowField(entry.id);
  }
  ShowGroups();
}

void FormState::ShowGroups() {
  for (const ControlSpec& entry : kControls) {
    bool shown = true;
    if (entry.group == Group::kComm) shown = state_.CommShown;
    if (entry.group == Group::kDial) shown = state_.DialShown;
    HWND control = layout_.Control(entry.id);
    if (!shown && GetFocus() == control) SetFocus(layout_.Control(kInStall));
    ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
  }
}

}  // namespace ui
