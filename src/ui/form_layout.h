// The form's controls as the table in ui/layout.h describes them: made at
// their places with the window's font, in the order a screen reader needs,
// with their tooltips, scaled by the window's DPI, and moved with the edges
// they are anchored to as the window changes its size or its DPI.
#pragma once

#include <windows.h>

#include <array>
#include <iterator>

#include "platform/win32/win32_handles.h"
#include "ui/layout.h"

namespace ui {

// The edit field inside a combo box with typing; nullptr for a plain list.
HWND ComboEdit(HWND combo);

// The DPI that `hwnd` is shown at (the system's before Windows 10).
int WindowDpi(HWND hwnd);

class FormLayout {
 public:
  // The DPI the form is made at; later changes come by ChangeDpi().
  void SetDpi(int dpi) { dpi_ = dpi; }
  // `pixels` at 96 DPI, at the form's DPI.
  int Scale(int pixels) const;

  // Makes the table's controls in the client area of `form` (while it
  // handles WM_CREATE), at their places and with their font, in the window
  // order that is the tab order.
  void CreateControls(HWND form);
  // Fits the closed boxes and the dropped-down lists of the made controls
  // to the table's heights, the last step of making them.
  void SizeComboBoxes();
  // The control made for `id`; nullptr before CreateControls().
  HWND Control(ControlId id) const;
  // Every control but the labels enabled or disabled: disabled, the window
  // shows greyed what is being installed and takes no input.
  void EnableInputs(bool enabled);
  // Makes the tooltips of the controls, owned by the form; they are made
  // once the window is painted, since they show only after the mouse rests
  // on a control. Returns the tooltip window.
  HWND CreateTooltips();

  // Moves the controls where the table puts them in the form's client area
  // as it is now (WM_SIZE); nothing when neither the size nor the DPI
  // changed since they were last placed.
  void LayOut();
  // The form moved to a screen of `dpi` (WM_DPICHANGED), and Windows
  // suggests `suggested` as its new place: a new font, and every control
  // scaled.
  void ChangeDpi(int dpi, const RECT& suggested);

 private:
  void MakeFont();   // font_ for the current DPI
  void ApplyFont();  // a new font_, given to every control
  // Where a control of the table goes in a client area of this size; dc
  // holds the window's font, by which labels take their width.
  RECT PlaceOf(const ControlSpec& entry, const RECT& client, HDC dc) const;
  HWND MakeControl(const ControlSpec& entry, const RECT& client, HDC dc) const;
  // The windows in tab order, each field just after the label that names it.
  void OrderWindows();

  HWND form_ = nullptr;
  HWND tooltip_ = nullptr;
  platform::ScopedFont font_;
  std::array<HWND, std::size(kControls)> controls_{};
  int dpi_ = kDesignDpi;
  SIZE anchorClient_{};  // client size as the window opened, at the current DPI
  using LayoutKey = std::array<int, 3>;  // client width, client height, DPI
  LayoutKey laidOut_{};
};

}  // namespace ui
