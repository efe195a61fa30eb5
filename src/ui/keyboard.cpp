#include "ui/keyboard.h"

#include <commctrl.h>

#include <utility>

#include "ui/form_layout.h"

namespace ui {

void Keyboard::TakeStationKeys(HWND form, HWND station, int maxLength,
                               std::function<void(wchar_t&)> keyPress) {
  form_ = form;
  stationKeyPress_ = std::move(keyPress);
  SendMessageW(station, CB_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
  if (HWND stationEdit = ComboEdit(station)) {
    SetWindowSubclass(stationEdit, &Keyboard::StationEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK Keyboard::StationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* keyboard = reinterpret_cast<Keyboard*>(data);
  // Enter belongs to the station box: it adds the station and presses no button.
  if (message == WM_GETDLGCODE && lParam != 0) {
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if ((key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN) {
      return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, message, wParam, lParam);
    }
  }
  if (message == WM_CHAR && keyboard->phase_ < Phase::kInstalling) {
    auto key = static_cast<wchar_t>(wParam);
    Guarded(keyboard->dialogs_, keyboard->form_, [&] { keyboard->stationKeyPress_(key); });
    if (key == L'\r') return 0;  // a single-line edit would only beep at it
    wParam = key;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool Keyboard::PreTranslateMessage(HWND form, MSG& message) const {
  if (phase_ == Phase::kCopying) return false;
  return IsDialogMessageW(form, &message) != FALSE;
}

void Keyboard::PressFocusedButton(HWND form) const {
  // Enter reaches a plain window as IDOK without a control (IsDialogMessage
  // knows no default button here): as in a dialog, it presses the push
  // button that has the focus and nothing else.
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(form, focus) &&
      (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

bool Keyboard::Activate(HWND form, WPARAM wParam) {
  // A plain window keeps track of its focused control itself.
  if (LOWORD(wParam) == WA_INACTIVE) {
    lastFocus_ = GetFocus();
  } else if (lastFocus_ != nullptr && IsChild(form, lastFocus_)) {
    SetFocus(lastFocus_);
    return true;
  }
  return false;
}

}  // namespace ui
