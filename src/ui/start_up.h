// The window's way from nothing to shown, in the order that shows it soonest:
// the window classes; the taskbar window, the first window, which connects to
// the display; the scan on a thread of its own while the form and its
// controls are made; the values found in the controls; the first show as the
// start-up request asks; then the tooltips, the focus and the scan's error.
// Each step is a mark of the bench's breakdown of the start-up time
// (platform/startup_marks.h): all of them are here.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/background_copies.h"
#include "ui/dialogs.h"
#include "ui/form_layout.h"
#include "ui/session_end.h"
#include "ui/taskbar_window.h"

namespace ui {

class StartUp {
 public:
  // The steps that the form takes itself.
  class Form {
   public:
    virtual void RegisterFormClass() = 0;
    // Makes the form's window, titled `caption` and owned by `owner`, at the
    // layout's DPI; nullptr when Windows cannot. Its WM_CREATE calls
    // FormCreated().
    virtual HWND MakeWindow(const std::wstring& caption, HWND owner) = 0;
    // The scan (FormCreate); it runs on a thread of its own.
    virtual void Scan() = 0;
    // What the controls do, once they are made.
    virtual void ControlsMade() = 0;
    // The scan has ended: the state into the controls, and from now on each
    // edit back to the state.
    virtual void ShowScanned() = 0;

   protected:
    ~Form() = default;
  };

  StartUp(Form& form, TaskbarWindow& taskbar, FormLayout& layout, SessionEnd& session,
          Dialogs& dialogs)
      : form_(form), taskbar_(taskbar), layout_(layout), session_(session), dialogs_(dialogs) {}

  // Creates the windows, which runs the scan, and shows them as `show` asks
  // (a ShowWindow command); `caption` is the form's title until the scan
  // has run. Raises when Windows cannot create a window.
  void Create(int show, const std::string& caption);
  // The form's WM_CREATE: its controls, the end of the scan, the state shown.
  void FormCreated(HWND form);
  // Shows the form as the start-up request asked, once (kWmShowForm), then
  // the error that ended the scan, if any.
  void ShowForm();

 private:
  // Waits for the scan started by Create(), raising what it raised; runs it
  // here when no thread could be made for it.
  void FinishScan();

  Form& form_;
  TaskbarWindow& taskbar_;
  FormLayout& layout_;
  SessionEnd& session_;
  Dialogs& dialogs_;
  HWND formWindow_ = nullptr;
  std::optional<std::string> scanError_;
  std::unique_ptr<WorkerThread> scan_;
};

}  // namespace ui
