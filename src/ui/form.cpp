#include "ui/form.h"

#include <utility>

#include "ui/install_boxes.h"
#include "ui/value_guard.h"

namespace ui {

namespace {

constexpr wchar_t kFormClass[] = L"TForm1";

}  // namespace

TForm1::TForm1(platform::FileSystem& fs, platform::Shell& shell, Dialogs& dialogs,
               std::function<void()> endProgram)
    : fs_(fs), shell_(shell), dialogs_(dialogs), endProgram_(std::move(endProgram)) {}

TForm1::~TForm1() { Destroy(); }

void TForm1::Create(int show) { startUp_.Create(show, state_.Caption); }

void TForm1::RegisterFormClass() { Register(kFormClass); }

HWND TForm1::MakeWindow(const std::wstring& caption, HWND owner) {
  return CreateAs(WS_EX_CONTROLPARENT, kFormClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  layout_.Scale(kWindow.left), layout_.Scale(kWindow.top), layout_.Scale(kWindow.width),
                  layout_.Scale(kWindow.height), owner);
}

void TForm1::ControlsMade() {
  keyboard_.TakeStationKeys(Handle(), Control(kMSnavn), kStationMaxLength,
                            [this](wchar_t& key) { MSnavnKeyPress(key); });
  GuardValuesWhileInstalling(layout_, phase_);
}

void TForm1::ShowScanned() {
  phase_ = Phase::kIdle;
  view_.ShowState(Handle());
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = Handle();
  switch (message) {
    case WM_CREATE: startUp_.FormCreated(hwnd); return 0;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_SIZE: layout_.LayOut(); return 0;
    case WM_DPICHANGED:
      layout_.ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (keyboard_.Activate(hwnd, wParam)) return 0;
      break;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam)) return 0;
      break;
    case WM_SETCURSOR:
      if (OnSetCursor()) return TRUE;
      break;
    case kWmShowForm: startUp_.ShowForm(); return 0;
    case WM_QUERYENDSESSION: return session_.QueryEndSession();
    case WM_ENDSESSION:
      if (wParam != FALSE) session_.EndSession();
      return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_DESTROY: endProgram_(); break;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TForm1::OnCommand(WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<ControlId>(LOWORD(wParam));
  const int code = HIWORD(wParam);
  if (lParam == 0 && id == IDOK) return keyboard_.PressFocusedButton(Handle());
  // While installing, the state stays as the user confirmed it, whoever
  // sends what; the controls show it again afterwards. Nor does a control
  // touch the state while the scan still fills it.
  if (phase_ != Phase::kIdle || lParam == 0) return;
  if (id == kInStall && code == BN_CLICKED) return InStallClick();
  if (id == kButton2 && code == BN_CLICKED) return Button2Click();
  view_.OnCommand(id, code);
}

bool TForm1::OnSysCommand(WPARAM wParam) {
  // Minimising the form minimises the taskbar window, which hides it.
  if ((wParam & 0xFFF0) != SC_MINIMIZE) return false;
  ShowWindow(taskbar_.Handle(), SW_MINIMIZE);
  return true;
}

bool TForm1::OnSetCursor() {
  if (phase_ != Phase::kCopying) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

void TForm1::OnClose() {
  // Neither are the copies left half done, nor a question that waits for
  // its answer (the taskbar button can still ask the window to close).
  if (phase_ >= Phase::kInstalling || !IsWindowEnabled(Handle())) return;
  Guarded(dialogs_, Handle(), [this] { FormClose(); });
  DestroyWindow(Handle());
}

bool TForm1::PreTranslateMessage(MSG& message) {
  return Handle() != nullptr && keyboard_.PreTranslateMessage(Handle(), message);
}

void TForm1::FormCreate() { systemSetup_.ScanSource(); }

void TForm1::MSnavnKeyPress(wchar_t& key) {
  if (key == L'\r' && state_.EnterStation()) view_.ShowField(kMSnavn);
}

void TForm1::InStallClick() {
  if (phase_ >= Phase::kInstalling) return;
  bool ends = false;
  {
    const PhaseScope installing(phase_, Phase::kInstalling);
    InstallBoxes boxes(dialogs_, Handle(), taskbar_.Handle(), session_,
                       [this](const std::function<void()>& copies, install::CopyProgress& progress) {
                         // The controls stay disabled until the install dialogue ends.
                         layout_.EnableInputs(false);
                         copies_.Run(taskbar_.Handle(), copies, progress);
                       });
    Guarded(dialogs_, Handle(), [&] { ends = install::InstallDialogue(state_, fs_, shell_, boxes); });
  }
  if (Handle() != nullptr) {
    layout_.EnableInputs(true);
    view_.ShowState(Handle());
    // Disabled, the focused button lost the focus.
    if (GetActiveWindow() == Handle() && !IsChild(Handle(), GetFocus())) SetFocus(Control(kInStall));
  }
  if (ends) endProgram_();
}

void TForm1::Button2Click() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm1::FormClose() { state_.ReleaseLists(); }

}  // namespace ui
