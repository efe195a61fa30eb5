// The window of no size that owns the program's taskbar button and carries
// the program's title; the form it owns has no button of its own. Windows
// gives it the start-up show request, which it hands on to the form, and it
// hands activation, closing and the end of the session on to the form too.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "ui/base_window.h"
#include "ui/dialogs.h"

namespace ui {

// Posted to the form: show yourself, the first time.
constexpr UINT kWmShowForm = WM_APP + 1;

class TaskbarWindow : public BaseWindow<TaskbarWindow> {
 public:
  // The form that the taskbar window carries, as the taskbar window sees it.
  class Form {
   public:
    // The form's window; nullptr before it is made and once it is gone.
    virtual HWND FormWindow() const = 0;
    // The form's answer to WM_QUERYENDSESSION, and what it does when the
    // session ends (WM_ENDSESSION with TRUE).
    virtual LRESULT QueryEndSession() const = 0;
    virtual void EndSession() = 0;

   protected:
    ~Form() = default;
  };

  TaskbarWindow(Form& form, Dialogs& dialogs) : form_(form), dialogs_(dialogs) {}
  ~TaskbarWindow() { Destroy(); }

  static void Register();
  // Makes the window, titled `title`; false when Windows cannot.
  bool Create(const std::wstring& title);

  // Shows the taskbar button as the start-up request `show` (a ShowWindow
  // command) asks, and keeps the form's first show for TakeFirstShow().
  // False when the program starts minimised: the form is then shown at the
  // button's first restore (kWmShowForm), else now, by the caller.
  bool ShowAsAsked(int show);
  // The ShowWindow command of the form's first show, once; then 0.
  int TakeFirstShow() { return std::exchange(firstShow_, 0); }

 private:
  friend class BaseWindow<TaskbarWindow>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  Dialogs& ErrorBoxes() { return dialogs_; }

  Form& form_;
  Dialogs& dialogs_;
  int firstShow_ = 0;  // until the form's first show
};

}  // namespace ui
