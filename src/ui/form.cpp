#include "ui/form.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/file_system.h"
#include "platform/win32/session_end.h"
#include "platform/startup_marks.h"
#include "platform/unicode.h"
#include "platform/win32/wide.h"

namespace ui {

namespace {

constexpr wchar_t kFormClass[] = L"TForm1";
constexpr wchar_t kWritingReason[] = L"KAMBRIX programmerne bliver installeret";

std::wstring Wide(const std::string& text) { return platform::Widen(text); }

constexpr UINT_PTR kInstallingSubclass = 2;

// The messages by which a control's value changes: keys and the mouse (the
// wheel turns a list), and what another program sends to click or set it
// (BM_CLICK, WM_SETTEXT, CB_SETCURSEL, also to a combo box's own edit field
// and list).
bool ChangesValue(UINT message) {
  if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
      (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
      (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST)) {
    return true;
  }
  switch (message) {
    case WM_SETTEXT: case WM_PASTE: case WM_CUT: case WM_CLEAR: case WM_UNDO: case WM_IME_CHAR:
    case EM_REPLACESEL: case EM_UNDO: case EM_SETHANDLE:
    case BM_CLICK: case BM_SETCHECK:
    case CB_ADDSTRING: case CB_INSERTSTRING: case CB_DELETESTRING: case CB_RESETCONTENT:
    case CB_DIR: case CB_SETCURSEL: case CB_SELECTSTRING: case CB_SHOWDROPDOWN:
    case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING: case LB_RESETCONTENT:
    case LB_DIR: case LB_SETCURSEL: case LB_SELECTSTRING: case LB_SETSEL: case LB_SETCARETINDEX:
      return true;
    default:
      return false;
  }
}

}  // namespace

TForm1::TForm1(platform::FileSystem& fs, platform::Shell& shell, Dialogs& dialogs,
               std::function<void()> endProgram)
    : fs_(fs), shell_(shell), dialogs_(dialogs), endProgram_(std::move(endProgram)),
      copies_(phase_),
      taskbar_(*this, dialogs) {}

TForm1::~TForm1() { Destroy(); }

void TForm1::Create(int show) {
  INITCOMMONCONTROLSEX common = {sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);
  Register(kFormClass);
  TaskbarWindow::Register();
  platform::StartupMark("classes");

  const bool madeTaskbarWindow = taskbar_.Create(Wide(ProgramTitle()));
  platform::StartupMark("taskbar-window");
  // The scan needs no window: it runs while the form and its controls are
  // made, and the form waits for it before it shows the values found
  // (WM_CREATE). Until then nothing here reads the state. Started only now:
  // a thread that starts while the first window connects to the display
  // slows that down more than it gains.
  const std::wstring caption = Wide(state_.Caption);
  scan_ = std::make_unique<WorkerThread>([this] { FormCreate(); });
  layout_.SetDpi(WindowDpi(taskbar_.Handle()));
  CreateAs(WS_EX_CONTROLPARENT, kFormClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
           layout_.Scale(kWindow.left), layout_.Scale(kWindow.top), layout_.Scale(kWindow.width),
           layout_.Scale(kWindow.height), taskbar_.Handle());
  if (!madeTaskbarWindow || Handle() == nullptr) {
    throw std::runtime_error("Cannot create the window");
  }
  if (taskbar_.ShowAsAsked(show)) ShowForm();
}

void TForm1::ShowForm() {
  const int firstShow = taskbar_.TakeFirstShow();
  if (firstShow == 0) return;
  platform::StartupMark("before-show");
  ShowWindow(Handle(), firstShow);
  platform::StartupMark("shown");
  UpdateWindow(Handle());
  platform::StartupMark("painted");
  // A window of its own at the top, which Windows asks too when the session ends.
  SetWindowSubclass(layout_.CreateTooltips(), &TForm1::TooltipProc, 1,
                    reinterpret_cast<DWORD_PTR>(this));
  SetFocus(Control(kInStall));
  // Now that the window and its taskbar button are there, the box cannot be
  // lost behind other windows.
  if (scanError_) ShowError(dialogs_, Handle(), *std::exchange(scanError_, std::nullopt));
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = Handle();
  switch (message) {
    case WM_CREATE:
      platform::StartupMark("form-window");
      CreateControls();
      platform::StartupMark("controls");
      // Its error is shown once the window is on screen (ShowForm).
      scanError_ = ErrorOf([this] { FinishScan(); });
      phase_ = Phase::kIdle;
      platform::StartupMark("scan");
      ShowState();
      platform::StartupMark("state-shown");
      return 0;
    case WM_COMMAND:
      // While installing, the state stays as the user confirmed it, whoever
      // sends what; the controls show it again afterwards. Nor does a
      // control touch the state while the scan still fills it.
      if (lParam == 0 && LOWORD(wParam) == IDOK) {
        PressFocusedButton();
      } else if (phase_ == Phase::kIdle && lParam != 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_SIZE:
      layout_.LayOut();
      return 0;
    case WM_DPICHANGED:
      layout_.ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      // A plain window keeps track of its focused control itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (lastFocus_ != nullptr && IsChild(Handle(), lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Minimising the form minimises the taskbar window, which hides it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(taskbar_.Handle(), SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (phase_ == Phase::kCopying) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case kWmShowForm:
      ShowForm();
      return 0;
    case WM_QUERYENDSESSION:
      return QueryEndSession();
    case WM_ENDSESSION:
      if (wParam != FALSE) EndSession();
      return 0;
    case WM_CLOSE:
      // Neither are the copies left half done, nor a question that waits for
      // its answer (the taskbar button can still ask the window to close).
      if (phase_ >= Phase::kInstalling || !IsWindowEnabled(Handle())) return 0;
      Guarded(dialogs_, Handle(), [this] { FormClose(); });
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      endProgram_();
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TForm1::CreateControls() {
  layout_.CreateControls(Handle());
  SendMessageW(Control(kMSnavn), CB_LIMITTEXT, kStationMaxLength, 0);
  if (HWND stationEdit = ComboEdit(Control(kMSnavn))) {
    SetWindowSubclass(stationEdit, &TForm1::StationEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  for (const ControlSpec& entry : kControls) {
    if (entry.kind == Kind::kLabel) continue;
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    GetComboBoxInfo(Control(entry.id), &combo);  // fails, leaving no parts, but for a combo box
    for (HWND part : {Control(entry.id), combo.hwndItem, combo.hwndList}) {
      if (part != nullptr) {
        SetWindowSubclass(part, &TForm1::InstallingControlProc, kInstallingSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
      }
    }
  }
}

void TForm1::EnableControls(bool enabled) {
  for (const ControlSpec& entry : kControls) {
    if (entry.kind != Kind::kLabel) EnableWindow(Control(entry.id), enabled);
  }
}

LRESULT CALLBACK TForm1::InstallingControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  // The state stays as the user confirmed it, and so must what the window shows.
  if (reinterpret_cast<const TForm1*>(data)->phase_ >= Phase::kInstalling && ChangesValue(message)) {
    return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TForm1::StationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* form = reinterpret_cast<TForm1*>(data);
  // Enter belongs to the station box: it adds the station and presses no button.
  if (message == WM_GETDLGCODE && lParam != 0) {
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if ((key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN) {
      return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, message, wParam, lParam);
    }
  }
  if (message == WM_CHAR && form->phase_ < Phase::kInstalling) {
    auto key = static_cast<wchar_t>(wParam);
    Guarded(form->dialogs_, form->Handle(), [&] { form->MSnavnKeyPress(key); });
    if (key == L'\r') return 0;  // a single-line edit would only beep at it
    wParam = key;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TForm1::TooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
  if (message == WM_QUERYENDSESSION) return reinterpret_cast<const TForm1*>(data)->QueryEndSession();
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void TForm1::PressFocusedButton() {
  // Enter reaches a plain window as IDOK without a control (IsDialogMessage
  // knows no default button here): as in a dialog, it presses the push
  // button that has the focus and nothing else.
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(Handle(), focus) &&
      (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

bool TForm1::PreTranslateMessage(MSG& message) {
  if (Handle() == nullptr || phase_ == Phase::kCopying) return false;
  return IsDialogMessageW(Handle(), &message) != FALSE;
}

void TForm1::FormCreate() { systemSetup_.ScanSource(); }

void TForm1::FinishScan() {
  const std::unique_ptr<WorkerThread> scan = std::move(scan_);
  if (scan == nullptr || !scan->Started()) return FormCreate();
  if (const std::exception_ptr failure = scan->Join()) std::rethrow_exception(failure);
}

void TForm1::RadioClick() {
  // The connection rule already ran in the state; show what it decided.
  ShowConnection();
  ShowGroups();
}

void TForm1::MSnavnKeyPress(wchar_t& key) {
  if (key == L'\r' && state_.EnterStation()) ShowStations();
}

void TForm1::InStallClick() {
  if (phase_ >= Phase::kInstalling) return;
  bool ends = false;
  {
    const PhaseScope installing(phase_, Phase::kInstalling);
    Guarded(dialogs_, Handle(), [&] { ends = install::InstallDialogue(state_, fs_, shell_, *this); });
  }
  if (Handle() != nullptr) {
    EnableControls(true);
    ShowState();
    // Disabled, the focused button lost the focus.
    if (GetActiveWindow() == Handle() && !IsChild(Handle(), GetFocus())) SetFocus(Control(kInStall));
  }
  if (ends) endProgram_();
}

bool TForm1::Confirm(const std::string& caption, const std::string& text) {
  return dialogs_.Show(Handle(), text, caption, MB_OKCANCEL) == IDOK;
}

bool TForm1::Retry(const std::string& caption, const std::string& text) {
  return dialogs_.Show(Handle(), text, caption, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}

void TForm1::Inform(const std::string& caption, const std::string& text) {
  dialogs_.Show(Handle(), text, caption, MB_OK);
}

void TForm1::Warn(const std::string& caption, const std::string& text) {
  dialogs_.Show(Handle(), text, caption, MB_OK | MB_ICONWARNING);
}

void TForm1::Error(const std::string& caption, const std::string& text) {
  dialogs_.Show(Handle(), text, caption, MB_OK | MB_ICONERROR);
}

void TForm1::RunCopies(const std::function<void()>& copies, install::CopyProgress& progress) {
  EnableControls(false);
  copies_.Run(taskbar_.Handle(), copies, progress);
}

void TForm1::WritingBegins() {
  phase_ = Phase::kWriting;
  platform::HoldUpSessionEnd(taskbar_.Handle(), kWritingReason);
}

void TForm1::WritingEnds() {
  phase_ = Phase::kInstalling;
  platform::ReleaseSessionEnd(taskbar_.Handle());
}

void TForm1::EndSession() { copies_.Stop(); }

void TForm1::Button2Click() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm1::FormClose() { state_.ReleaseLists(); }

}  // namespace ui
