#include "ui/start_up.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/startup_marks.h"
#include "platform/win32/wide.h"

namespace ui {

using platform::StartupMark;

void StartUp::Create(int show, const std::string& caption) {
  INITCOMMONCONTROLSEX common = {sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);
  form_.RegisterFormClass();
  TaskbarWindow::Register();
  StartupMark("classes");

  const bool madeTaskbarWindow = taskbar_.Create(platform::Widen(ProgramTitle()));
  StartupMark("taskbar-window");
  // The scan needs no window: it runs while the form and its controls are
  // made, and the form waits for it before it shows the values found
  // (WM_CREATE). Until then nothing here reads the state, whose caption is
  // taken before. Started only now: a thread that starts while the first
  // window connects to the display slows that down more than it gains.
  const std::wstring title = platform::Widen(caption);
  scan_ = std::make_unique<WorkerThread>([this] { form_.Scan(); });
  layout_.SetDpi(WindowDpi(taskbar_.Handle()));
  formWindow_ = form_.MakeWindow(title, taskbar_.Handle());
  if (!madeTaskbarWindow || formWindow_ == nullptr) {
    throw std::runtime_error("Cannot create the window");
  }
  if (taskbar_.ShowAsAsked(show)) ShowForm();
}

void StartUp::FormCreated(HWND form) {
  StartupMark("form-window");
  layout_.CreateControls(form);
  StartupMark("control-windows");
  layout_.SizeComboBoxes();
  form_.ControlsMade();
  StartupMark("controls");
  // Its error is shown once the window is on screen (ShowForm).
  scanError_ = ErrorOf([this] { FinishScan(); });
  StartupMark("scan");
  form_.ShowScanned();
  StartupMark("state-shown");
}

void StartUp::FinishScan() {
  const std::unique_ptr<WorkerThread> scan = std::move(scan_);
  if (scan == nullptr || !scan->Started()) return form_.Scan();
  if (const std::exception_ptr failure = scan->Join()) std::rethrow_exception(failure);
}

void StartUp::ShowForm() {
  const int firstShow = taskbar_.TakeFirstShow();
  if (firstShow == 0) return;
  StartupMark("before-show");
  ShowWindow(formWindow_, firstShow);
  StartupMark("shown");
  UpdateWindow(formWindow_);
  StartupMark("painted");
  // A window of its own at the top, which Windows asks too when the session ends.
  session_.AnswerFor(layout_.CreateTooltips());
  SetFocus(layout_.Control(kInStall));
  // Now that the window and its taskbar button are there, the box cannot be
  // lost behind other windows.
  if (scanError_) ShowError(dialogs_, formWindow_, *std::exchange(scanError_, std::nullopt));
}

}  // namespace ui
