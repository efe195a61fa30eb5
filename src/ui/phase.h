// What the window is doing at any time, as one phase: every part of the
// window reads it to know whether an edit reaches the state, whether input
// is taken, and whether the session may end.
#pragma once

#include <utility>

namespace ui {

// In the order an install goes through them. From kInstalling on, each phase
// lies within the one before it (the copies run while the files are written,
// which happens while the dialogue runs), so "at least kInstalling" means
// "while installing".
enum class Phase {
  kScanning,    // the scan fills the state: nothing from the controls reaches it
  kShowing,     // the state is copied into the controls, which tell it nothing back
  kIdle,        // each edit of a control is written to the state
  kInstalling,  // the install dialogue runs: the state stays as the user confirmed it
  kWriting,     // the installation's files are written: the session's end is held up
  kCopying,     // the copies run on a worker: the window paints but takes no input
};

// `phase` holds `now` while this lives, and then what it held before.
class PhaseScope {
 public:
  PhaseScope(Phase& phase, Phase now) : phase_(phase), before_(std::exchange(phase, now)) {}
  ~PhaseScope() { phase_ = before_; }
  PhaseScope(const PhaseScope&) = delete;
  PhaseScope& operator=(const PhaseScope&) = delete;

 private:
  Phase& phase_;
  Phase before_;
};

}  // namespace ui
