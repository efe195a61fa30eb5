// The setup window, Form1 of class TForm1: a thin view of the setup state.
// It copies the state into its controls after the scan and writes every edit
// back. Its install button runs the install dialogue of the core, whose boxes
// it shows as its own and whose copies it runs on a worker thread. The state
// stays the one truth that the installation reads.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "install/install_flow.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"
#include "setup/system_setup.h"
#include "ui/background_copies.h"
#include "ui/base_window.h"
#include "ui/dialogs.h"
#include "ui/form_layout.h"
#include "ui/layout.h"
#include "ui/taskbar_window.h"

namespace ui {

class TForm1 : public BaseWindow<TForm1>,
               private install::DialogueHost,
               private TaskbarWindow::Form {
 public:
  // `endProgram` ends the program: it lets the current handler finish and
  // then leaves the event loop.
  TForm1(platform::FileSystem& fs, platform::Shell& shell, Dialogs& dialogs,
         std::function<void()> endProgram);
  ~TForm1() override;
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
  void RadioClick();
  void MSnavnKeyPress(wchar_t& key);
  void InStallClick();  // the install dialogue, one at a time
  void Button2Click();
  void FormClose();

 private:
  friend class BaseWindow<TForm1>;
  static LRESULT CALLBACK StationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data);
  static LRESULT CALLBACK TooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
  // Every part of every control that takes input: while the install
  // dialogue runs, no message that would change a value reaches it, not even
  // one that another program sends (a disabled control still takes those).
  static LRESULT CALLBACK InstallingControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR id, DWORD_PTR data);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  Dialogs& ErrorBoxes() { return dialogs_; }

  // The table's controls, the station box's binding to the state, and the
  // guard that keeps their values while installing.
  void CreateControls();
  // Every control but the labels enabled or disabled: disabled, the window
  // shows greyed what is being installed and takes no input.
  void EnableControls(bool enabled);

  // The state to the controls and back (form_state.cpp): all of it, the
  // stations, the connection, the groups shown; and one control's edit,
  // which WM_COMMAND brings, to the state.
  void ShowState();
  void ShowStations();
  void ShowConnection();
  void ShowGroups();
  void OnCommand(int id, int code);
  // Shows the form as the start-up request asked, once, then the error that
  // ended the scan, if any.
  void ShowForm();
  // Waits for the scan started by Create(), raising what it raised; runs it
  // here when no thread could be made for it.
  void FinishScan();
  void PressFocusedButton();
  // The answer of every window of the program to WM_QUERYENDSESSION: no
  // while the files of the installation are written.
  LRESULT QueryEndSession() const override { return phase_ >= Phase::kWriting ? FALSE : TRUE; }
  // The session ends (WM_ENDSESSION): the copies stop before their next
  // file, and the window waits a while for the one under way.
  void EndSession() override;
  HWND FormWindow() const override { return Handle(); }

  // The install dialogue's boxes, owned by the window.
  bool Confirm(const std::string& caption, const std::string& text) override;
  bool Retry(const std::string& caption, const std::string& text) override;
  void Inform(const std::string& caption, const std::string& text) override;
  void Warn(const std::string& caption, const std::string& text) override;
  void Error(const std::string& caption, const std::string& text) override;
  // Runs the copies on a worker thread; meanwhile the window paints and
  // shows their progress but takes no input. Its controls stay disabled
  // until the install dialogue ends.
  void RunCopies(const std::function<void()>& copies, install::CopyProgress& progress) override;
  // Hold up the end of the session, with the reason Windows shows for it.
  void WritingBegins() override;
  void WritingEnds() override;

  platform::FileSystem& fs_;
  platform::Shell& shell_;
  Dialogs& dialogs_;
  std::function<void()> endProgram_;

  setup::SetupState state_;
  setup::SystemSetup systemSetup_{state_, fs_};

  FormLayout layout_;
  std::optional<std::string> scanError_;
  Phase phase_ = Phase::kScanning;
  HWND lastFocus_ = nullptr;
  BackgroundCopies copies_;
  TaskbarWindow taskbar_;
  // Last, so that it is waited for before the state it fills goes.
  std::unique_ptr<WorkerThread> scan_;
};

}  // namespace ui
