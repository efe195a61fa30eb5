// The state to the controls and back, as the control table (ui/layout.h)
// binds each control to its field: the controls show the setup state after
// the scan and after an install, and each edit of a control is written to
// its field at once, while the window is idle.
#pragma once

#include <windows.h>

#include "setup/setup_state.h"
#include "ui/form_layout.h"
#include "ui/layout.h"
#include "ui/phase.h"

namespace ui {

class FormState {
 public:
  // `phase` is kShowing while the controls are set, so that their
  // notifications do not come back to the state.
  FormState(setup::SetupState& state, Phase& phase, const FormLayout& layout)
      : state_(state), phase_(phase), layout_(layout) {}

  // All of the state: the caption of `form`, every bound control and the
  // groups shown.
  void ShowState(HWND form);
  // The field of control `id` again in its control.
  void ShowField(ControlId id);
  // A control's notification `code` (WM_COMMAND) to its field; a click on a
  // radio button chooses the connection and runs the connection rule.
  void OnCommand(ControlId id, int code);
  // The connection rule already ran in the state; shows what it decided.
  void RadioClick();

 private:
  void ShowGroups();

  setup::SetupState& state_;
  Phase& phase_;
  const FormLayout& layout_;
};

}  // namespace ui
