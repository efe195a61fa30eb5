// The setup window, Form1 of class TForm1: a thin view of the setup state.
// It dispatches its messages to the parts that own each concern: the
// controls (FormLayout), the state shown in them and their edits written
// back (FormState), the keys (Keyboard), the start-up (StartUp), the install
// dialogue's boxes (InstallBoxes), the copies on a worker thread
// (BackgroundCopies), the end of the session (SessionEnd) and the window of
// the taskbar button (TaskbarWindow). The state stays the one truth that the
// installation reads.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"
#include "setup/system_setup.h"
#include "ui/background_copies.h"
#include "ui/base_window.h"
#include "ui/dialogs.h"
#include "ui/form_layout.h"
#include "ui/form_state.h"
#include "ui/keyboard.h"
#include "ui/layout.h"
#include "ui/phase.h"
#include "ui/session_end.h"
#include "ui/start_up.h"
#include "ui/taskbar_window.h"

namespace ui {

class TForm1 : public BaseWindow<TForm1>, private StartUp::Form, private TaskbarWindow::Form {
 public:
  // `endProgram` ends the program: it lets the current handler finish and
  // then leaves the event loop.
  TForm1(platform::FileSystem& fs, platform::Shell& shell, Dialogs& dialogs,
         std::function<void()> endProgram);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Creates the window, which runs the scan, and shows it as `show` asks
  // (a ShowWindow command). Raises when Windows cannot create the window.
  void Create(int show);

  // Keyboard navigation (Tab, Shift+Tab, arrows in the radio group); true
  // when the message was handled and must not be dispatched.
  bool PreTranslateMessage(MSG& message);

  HWND Control(ControlId id) const { return layout_.Control(id); }
  setup::SetupState& State() { return state_; }

  // Event handlers.
  void FormCreate();  // the scan; runs on a thread of its own while the windows are made
  void MSnavnKeyPress(wchar_t& key);
  void InStallClick();  // the install dialogue, one at a time
  void Button2Click();
  void FormClose();

 private:
  friend class BaseWindow<TForm1>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  Dialogs& ErrorBoxes() { return dialogs_; }
  void OnCommand(WPARAM wParam, LPARAM lParam);
  bool OnSysCommand(WPARAM wParam);
  bool OnSetCursor();
  void OnClose();

  // The steps of the start-up.
  void RegisterFormClass() override;
  HWND MakeWindow(const std::wstring& caption, HWND owner) override;
  void Scan() override { FormCreate(); }
  void ControlsMade() override;
  void ShowScanned() override;

  // The form as the taskbar window sees it.
  HWND FormWindow() const override { return Handle(); }
  LRESULT QueryEndSession() const override { return session_.QueryEndSession(); }
  void EndSession() override { session_.EndSession(); }

  platform::FileSystem& fs_;
  platform::Shell& shell_;
  Dialogs& dialogs_;
  std::function<void()> endProgram_;

  setup::SetupState state_;
  setup::SystemSetup systemSetup_{state_, fs_};

  Phase phase_ = Phase::kScanning;
  FormLayout layout_;
  FormState view_{state_, phase_, layout_};
  Keyboard keyboard_{phase_, dialogs_};
  BackgroundCopies copies_{phase_};
  SessionEnd session_{phase_, copies_};
  TaskbarWindow taskbar_{*this, dialogs_};
  // Last, so that the scan it runs is waited for before the state it fills goes.
  StartUp startUp_{*this, taskbar_, layout_, session_, dialogs_};
};

}  // namespace ui
