// Message boxes for the window's tests: each box is recorded, and the
// OK/Cancel questions are answered from a script.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace test_support {

struct ScriptedDialogs : ui::Dialogs {
  struct Shown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
  };
  std::vector<Shown> shown;
  std::deque<int> answers;  // for the OK/Cancel questions, in order
  // What the user does elsewhere while a box waits, given its owner.
  std::function<void(HWND)> meanwhile;

  // Every box but an OK/Cancel question is answered with OK; a question
  // without an answer left fails the test and is cancelled.
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
};

}  // namespace test_support
