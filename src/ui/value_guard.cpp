#include "ui/value_guard.h"

#include <commctrl.h>

namespace ui {

namespace {

constexpr UINT_PTR kGuardSubclass = 2;

// The messages by which a control's value changes: keys and the mouse (the
// wheel turns a list), and what another program sends to click or set it
// (BM_CLICK, WM_SETTEXT, CB_SETCURSEL, also to a combo box's own edit field
// and list).
bool ChangesValue(UINT message) {
  if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
      (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
      (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST)) {
    return true;
  }
  switch (message) {
    case WM_SETTEXT: case WM_PASTE: case WM_CUT: case WM_CLEAR: case WM_UNDO: case WM_IME_CHAR:
    case EM_REPLACESEL: case EM_UNDO: case EM_SETHANDLE:
    case BM_CLICK: case BM_SETCHECK:
    case CB_ADDSTRING: case CB_INSERTSTRING: case CB_DELETESTRING: case CB_RESETCONTENT:
    case CB_DIR: case CB_SETCURSEL: case CB_SELECTSTRING: case CB_SHOWDROPDOWN:
    case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING: case LB_RESETCONTENT:
    case LB_DIR: case LB_SETCURSEL: case LB_SELECTSTRING: case LB_SETSEL: case LB_SETCARETINDEX:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK GuardProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
  if (*reinterpret_cast<const Phase*>(data) >= Phase::kInstalling && ChangesValue(message)) return 0;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void GuardValuesWhileInstalling(const FormLayout& layout, const Phase& phase) {
  for (const ControlSpec& entry : kControls) {
    if (entry.kind == Kind::kLabel) continue;
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    GetComboBoxInfo(layout.Control(entry.id), &combo);  // fails, leaving no parts, but for a combo box
    for (HWND part : {layout.Control(entry.id), combo.hwndItem, combo.hwndList}) {
      if (part != nullptr) {
        SetWindowSubclass(part, &GuardProc, kGuardSubclass, reinterpret_cast<DWORD_PTR>(&phase));
      }
    }
  }
}

}  // namespace ui
