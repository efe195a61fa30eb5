#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace test_support {

int ScriptedDialogs::Show(HWND owner, const std::string& text, const std::string& caption,
                          UINT flags) {
  shown.push_back({owner, text, caption, flags});
  if (meanwhile) meanwhile(owner);
  if ((flags & MB_TYPEMASK) != MB_OKCANCEL) return IDOK;
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return IDCANCEL;
  }
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace test_support
