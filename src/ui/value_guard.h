// While the install dialogue runs, the state stays as the user confirmed it,
// and so must what the window shows, whoever sends what.
#pragma once

#include "ui/form_layout.h"
#include "ui/phase.h"

namespace ui {

// From now on, while `phase` is at least kInstalling, no message that would
// change a value reaches any part of any control of `layout` that takes
// input, not even one that another program sends (a disabled control still
// takes those).
void GuardValuesWhileInstalling(const FormLayout& layout, const Phase& phase);

}  // namespace ui
