// What the install dialogue asks of the window, for one dialogue: its boxes,
// owned by the window so that it takes no input while one waits; its copies,
// during which the window paints but takes no input; and the end of the
// session held up while the installation's files are written.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "install/install_flow.h"
#include "ui/dialogs.h"
#include "ui/session_end.h"

namespace ui {

class InstallBoxes final : public install::DialogueHost {
 public:
  // Runs the copies as the window does; see DialogueHost::RunCopies.
  using CopiesRunner = std::function<void(const std::function<void()>&, install::CopyProgress&)>;

  // Boxes owned by `owner`; the reason for holding up the session's end is
  // given to `taskbarWindow`.
  InstallBoxes(Dialogs& dialogs, HWND owner, HWND taskbarWindow, SessionEnd& session,
               CopiesRunner runCopies)
      : dialogs_(dialogs), owner_(owner), taskbarWindow_(taskbarWindow), session_(session),
        runCopies_(std::move(runCopies)) {}

  bool Confirm(const std::string& caption, const std::string& text) override;
  bool Retry(const std::string& caption, const std::string& text) override;
  void Inform(const std::string& caption, const std::string& text) override;
  void Warn(const std::string& caption, const std::string& text) override;
  void Error(const std::string& caption, const std::string& text) override;
  void RunCopies(const std::function<void()>& copies, install::CopyProgress& progress) override {
    runCopies_(copies, progress);
  }
  void WritingBegins() override { session_.WritingBegins(taskbarWindow_); }
  void WritingEnds() override { session_.WritingEnds(taskbarWindow_); }

 private:
  Dialogs& dialogs_;
  HWND owner_;
  HWND taskbarWindow_;
  SessionEnd& session_;
  CopiesRunner runCopies_;
};

}  // namespace ui
