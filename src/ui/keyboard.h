// The keys of the window, a plain window that behaves as a dialog: Tab and
// Shift+Tab between the controls, the arrows within the radio group, Enter
// on the focused push button, the focused control kept while another window
// is active; and in the station box, Enter adds the station instead.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/dialogs.h"
#include "ui/phase.h"

namespace ui {

class Keyboard {
 public:
  // `phase` is the window's; an error of the station box's handler is shown
  // through `dialogs`.
  Keyboard(const Phase& phase, Dialogs& dialogs) : phase_(phase), dialogs_(dialogs) {}

  // The station box `station` of `form` takes at most `maxLength`
  // characters, and each character typed there goes to `keyPress` first
  // (MSnavnKeyPress), which may change it; not while installing.
  void TakeStationKeys(HWND form, HWND station, int maxLength, std::function<void(wchar_t&)> keyPress);

  // Tab navigation in `form` (IsDialogMessage); true when the message was
  // handled and must not be dispatched. Nothing while the copies run.
  bool PreTranslateMessage(HWND form, MSG& message) const;
  // Enter (IDOK without a control): presses the focused push button of `form`.
  void PressFocusedButton(HWND form) const;
  // WM_ACTIVATE of `form`: true when it gave the focus back to the control
  // that had it, and the message is handled.
  bool Activate(HWND form, WPARAM wParam);

 private:
  static LRESULT CALLBACK StationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data);

  const Phase& phase_;
  Dialogs& dialogs_;
  HWND form_ = nullptr;
  std::function<void(wchar_t&)> stationKeyPress_;
  HWND lastFocus_ = nullptr;
};

}  // namespace ui
