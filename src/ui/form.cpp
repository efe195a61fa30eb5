#include "ui/form.h"

#include <commctrl.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/file_system.h"
#include "platform/startup_marks.h"
#include "platform/system_function.h"
#include "platform/unicode.h"
#include "platform/wide.h"

namespace ui {

namespace {

constexpr wchar_t kFormClass[] = L"TForm1";
constexpr wchar_t kAppClass[] = L"TApplication";
// How often the taskbar's progress is brought up to date while the copies run.
constexpr DWORD kProgressMs = 100;
constexpr UINT kWmShowForm = WM_APP + 1;
// How long a session that ends waits for the copy under way: Windows ends a
// program that takes much longer to answer WM_ENDSESSION anyway.
constexpr DWORD kEndSessionWaitMs = 4000;
constexpr wchar_t kWritingReason[] = L"KAMBRIX programmerne bliver installeret";

std::wstring Wide(const std::string& text) { return platform::Widen(text); }

std::string TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return platform::Narrow(text);
}

void SetText(HWND control, const std::string& text) {
  if (TextOf(control) != text) SetWindowTextW(control, Wide(text).c_str());
}

void FillList(HWND combo, const std::vector<std::string>& items, int selected) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// The edit field inside a combo box with typing; nullptr for a plain list.
HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

int Selection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
         message == WM_NCXBUTTONDOWN || message == WM_NCXBUTTONUP || message == WM_NCXBUTTONDBLCLK;
}

// A function of user32 that not every Windows has, or nullptr.
template <typename Function>
Function User32Function(const char* name) {
  return platform::SystemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

int WindowDpi(HWND hwnd) {
  // GetDpiForWindow exists from Windows 10 on; before, the system DPI holds.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr && hwnd != nullptr) {
    if (const UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

HICON ProgramIcon(int size) {
  auto icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

// The taskbar button's progress bar; silently absent where the shell has none.
class TaskbarProgress {
 public:
  explicit TaskbarProgress(HWND window) : window_(window) {
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&taskbar_))) ||
        FAILED(taskbar_->HrInit())) {
      taskbar_.Reset();
    }
  }
  void Show(std::size_t done, std::size_t total) {
    if (taskbar_) taskbar_->SetProgressValue(window_, done, total == 0 ? 1 : total);
  }
  void Clear() {
    if (taskbar_) taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
  }

 private:
  HWND window_;
  Microsoft::WRL::ComPtr<ITaskbarList3> taskbar_;
};

// Runs work on a thread of its own from construction; Join() waits for it.
// What the work raises is kept for the thread that joins.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> work) : work_(std::move(work)) {
    handle_ = CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr);
  }
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // False when no thread could be made: the work has not run.
  bool Started() const { return handle_ != nullptr; }
  HANDLE Handle() const { return handle_; }
  // Waits for the work to end; returns what it raised, if anything.
  std::exception_ptr Join() {
    if (handle_ != nullptr) {
      WaitForSingleObject(handle_, INFINITE);
      CloseHandle(std::exchange(handle_, nullptr));
    }
    return failure_;
  }

 private:
  static DWORD WINAPI Run(void* data) {
    auto* worker = static_cast<WorkerThread*>(data);
    try {
      worker->work_();
    } catch (...) {
      worker->failure_ = std::current_exception();
    }
    return 0;
  }

  std::function<void()> work_;
  std::exception_ptr failure_;
  HANDLE handle_ = nullptr;
};

TForm1::TForm1(platform::FileSystem& fs, platform::Shell& shell, Dialogs& dialogs,
               std::function<void()> endProgram)
    : fs_(fs), shell_(shell), dialogs_(dialogs), endProgram_(std::move(endProgram)) {}

TForm1::~TForm1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (appWindow_ != nullptr) DestroyWindow(appWindow_);
  if (font_ != nullptr) DeleteObject(font_);
}

HWND TForm1::Control(ControlId id) const {
  return controls_[static_cast<std::size_t>(id - kLabel1)];
}

int TForm1::Scale(int pixels) const { return MulDiv(pixels, dpi_, kDesignDpi); }

void TForm1::Create(int show) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX common = {sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &TForm1::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.hIcon = ProgramIcon(GetSystemMetrics(SM_CXICON));
  windowClass.hIconSm = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
  windowClass.lpszClassName = kFormClass;
  RegisterClassExW(&windowClass);
  windowClass.lpfnWndProc = &TForm1::AppWindowProc;
  windowClass.lpszClassName = kAppClass;
  RegisterClassExW(&windowClass);
  platform::StartupMark("classes");

  // The taskbar button belongs to a window of no size that carries the
  // program's title; the form it owns has no button of its own.
  appWindow_ = CreateWindowExW(0, kAppClass, Wide(ProgramTitle()).c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                               0, 0, nullptr, nullptr, instance, this);
  platform::StartupMark("taskbar-window");
  // The scan needs no window: it runs while the form and its controls are
  // made, and the form waits for it before it shows the values found
  // (WM_CREATE). Until then nothing here reads the state. Started only now:
  // a thread that starts while the first window connects to the display
  // slows that down more than it gains.
  const std::wstring caption = Wide(state_.Caption);
  scan_ = std::make_unique<WorkerThread>([this] { FormCreate(); });
  dpi_ = WindowDpi(appWindow_);
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, caption.c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, Scale(kWindow.left),
                          Scale(kWindow.top), Scale(kWindow.width), Scale(kWindow.height),
                          appWindow_, nullptr, instance, this);
  if (appWindow_ == nullptr || hwnd_ == nullptr) {
    throw std::runtime_error("Cannot create the window");
  }

  // Windows gives the start-up show request to the first unowned window
  // with a caption that is shown normally: the taskbar window, which would
  // turn maximised into a blank screen. So it is never shown that way; the
  // form takes the request from `show`.
  const bool minimised = show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
                         show == SW_SHOWMINNOACTIVE || show == SW_FORCEMINIMIZE;
  ShowWindow(appWindow_, minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
  firstShow_ = show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  // Minimised, only the taskbar button shows, not activated; its first
  // restore opens the form.
  if (!minimised) ShowForm();
}

void TForm1::ShowForm() {
  if (firstShow_ == 0) return;
  platform::StartupMark("before-show");
  ShowWindow(hwnd_, std::exchange(firstShow_, 0));
  platform::StartupMark("shown");
  UpdateWindow(hwnd_);
  platform::StartupMark("painted");
  // The tooltips show only after the mouse rests on a control: they are
  // made once the window is painted.
  CreateTooltips();
  SetFocus(Control(kInStall));
  // Now that the window and its taskbar button are there, the box cannot be
  // lost behind other windows.
  if (scanError_) ShowError(dialogs_, hwnd_, *std::exchange(scanError_, std::nullopt));
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TForm1*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  Guarded(form->dialogs_, hwnd, [&] { result = form->HandleMessage(message, wParam, lParam); });
  return result;
}

LRESULT CALLBACK TForm1::AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
        reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  HWND formWindow = form != nullptr ? form->hwnd_ : nullptr;
  if (formWindow != nullptr) {
    // After a minimised start, the first restore opens the form (posted: not
    // in the middle of this window's own move).
    if (message == WM_WINDOWPOSCHANGED && form->firstShow_ != 0 && IsWindowVisible(hwnd) &&
        !IsIconic(hwnd)) {
      PostMessageW(formWindow, kWmShowForm, 0, 0);
    }
    // The taskbar window hands activation and closing on to the form, or to
    // the box that the form waits for, so that Enter and Esc answer it.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && IsWindowVisible(formWindow)) {
      const HWND popup = GetLastActivePopup(formWindow);
      SetActiveWindow(popup != nullptr && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup
                                                                                      : formWindow);
      return 0;
    }
    if (message == WM_QUERYENDSESSION) return form->QueryEndSession();
    if (message == WM_ENDSESSION && wParam != FALSE) {
      form->EndSession();
      return 0;
    }
    if (message == WM_CLOSE) {
      PostMessageW(formWindow, WM_CLOSE, 0, 0);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = hwnd_;
  switch (message) {
    case WM_CREATE:
      platform::StartupMark("form-window");
      CreateControls();
      platform::StartupMark("controls");
      // Its error is shown once the window is on screen (ShowForm).
      scanError_ = ErrorOf([this] { FinishScan(); });
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
      } else if (!showing_ && !installing_ && scan_ == nullptr && lParam != 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_DPICHANGED: {
      anchorClient_ = {MulDiv(anchorClient_.cx, HIWORD(wParam), dpi_),
                       MulDiv(anchorClient_.cy, HIWORD(wParam), dpi_)};
      dpi_ = HIWORD(wParam);
      ApplyFont();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      SizeComboBoxes();
      return 0;
    }
    case WM_ACTIVATE:
      // A plain window keeps track of its focused control itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (lastFocus_ != nullptr && IsChild(hwnd_, lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Minimising the form minimises the taskbar window, which hides it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(appWindow_, SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (busy_) {
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
      if (installing_ || !IsWindowEnabled(hwnd_)) return 0;
      Guarded(dialogs_, hwnd_, [this] { FormClose(); });
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      endProgram_();
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TForm1::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // The controls are made at their places with their font, so that opening
  // the window moves none of them.
  MakeFont();
  RECT client;
  GetClientRect(hwnd_, &client);
  // The buttons keep the distance to the edges they are anchored to that
  // they have in the window as it opens.
  anchorClient_ = {client.right, client.bottom};
  laidOut_ = {client.right, client.bottom, dpi_};
  HDC dc = GetDC(hwnd_);
  const HGDIOBJ oldFont = SelectObject(dc, font_);
  for (const ControlSpec& entry : kControls) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (entry.kind) {
      case Kind::kLabel:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case Kind::kButton:
        windowClass = L"BUTTON";
        style |= BS_PUSHBUTTON;
        break;
      case Kind::kEdit:
        windowClass = L"EDIT";
        style |= ES_AUTOHSCROLL | (entry.id == kUserPassw ? ES_UPPERCASE : 0);
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::kDropDownList:
        windowClass = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        break;
      case Kind::kComboBox:
        windowClass = L"COMBOBOX";
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
        break;
      case Kind::kRadio:
        windowClass = L"BUTTON";
        style |= BS_AUTORADIOBUTTON | BS_LEFTTEXT;
        break;
    }
    // Every control is a group of its own except the two radio buttons,
    // which form one; arrow keys then move between those two only. Labels
    // too: the label after them would otherwise join their group.
    if (entry.id != kDctCon) style |= WS_GROUP;
    if (entry.tabOrder >= 0) style |= WS_TABSTOP;
    const RECT place = PlaceOf(entry, client, dc);
    HWND control = CreateWindowExW(exStyle, windowClass, Wide(entry.text).c_str(), style, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                   instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    controls_[static_cast<std::size_t>(entry.id - kLabel1)] = control;
  }
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd_, dc);

  // The tab order is the order of the windows, and a screen reader names a
  // field by the window just before it: each field's label goes there. The
  // labels are no tab stops, so the tab order stays.
  HWND previous = HWND_TOP;
  const auto placeNext = [&previous](HWND control) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  };
  for (int order = 0; order < static_cast<int>(kControls.size()); ++order) {
    for (const ControlSpec& entry : kControls) {
      if (entry.tabOrder != order) continue;
      for (const FieldLabel& pair : kFieldLabels) {
        if (pair.field == entry.id) placeNext(Control(pair.label));
      }
      placeNext(Control(entry.id));
    }
  }

  SendMessageW(Control(kMSnavn), CB_LIMITTEXT, kStationMaxLength, 0);
  if (HWND stationEdit = ComboEdit(Control(kMSnavn))) {
    SetWindowSubclass(stationEdit, &TForm1::StationEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }

  platform::StartupMark("control-windows");
  SizeComboBoxes();
}

void TForm1::MakeFont() {
  if (font_ != nullptr) DeleteObject(font_);
  font_ = CreateFontW(-MulDiv(kWindow.fontPoints, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                      FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, Wide(kWindow.fontFace).c_str());
}

void TForm1::ApplyFont() {
  MakeFont();
  for (HWND control : controls_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void TForm1::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, kTooltipShowMs);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTooltipHideMs);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(400));
  // A window of its own at the top, which Windows asks too when the session ends.
  SetWindowSubclass(tooltip_, &TForm1::TooltipProc, 1, reinterpret_cast<DWORD_PTR>(this));
  for (const ControlSpec& entry : kControls) {
    if (entry.tooltip == nullptr) continue;
    std::wstring text = Wide(entry.tooltip);
    std::vector<HWND> targets = {Control(entry.id)};
    // A combo box with typing passes the mouse to its edit field.
    if (entry.kind == Kind::kComboBox) {
      if (HWND edit = ComboEdit(Control(entry.id))) targets.push_back(edit);
    }
    for (HWND target : targets) {
      TTTOOLINFOW tool = {};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = hwnd_;
      tool.uId = reinterpret_cast<UINT_PTR>(target);
      tool.lpszText = text.data();
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
}

void TForm1::LayOut() {
  if (controls_[0] == nullptr) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  // Moving two dozen controls is not free under every system: only when
  // the window's size or scale changed.
  const LayoutKey key = {client.right, client.bottom, dpi_};
  if (key == laidOut_) return;
  laidOut_ = key;
  HDC dc = GetDC(hwnd_);
  const HGDIOBJ oldFont = SelectObject(dc, font_);
  HDWP positions = BeginDeferWindowPos(static_cast<int>(kControls.size()));
  for (const ControlSpec& entry : kControls) {
    const RECT place = PlaceOf(entry, client, dc);
    positions = DeferWindowPos(positions, Control(entry.id), nullptr, place.left, place.top,
                               place.right - place.left, place.bottom - place.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EndDeferWindowPos(positions);
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd_, dc);
}

RECT TForm1::PlaceOf(const ControlSpec& entry, const RECT& client, HDC dc) const {
  int left = Scale(entry.left);
  int top = Scale(entry.top);
  int width = Scale(entry.width);
  int height = Scale(entry.height);
  if (entry.anchor != Anchor::kLeftTop) {
    top = client.bottom - (anchorClient_.cy - top);
  }
  if (entry.anchor == Anchor::kRightBottom) {
    left = client.right - (anchorClient_.cx - left);
  }
  if (entry.kind == Kind::kLabel && entry.text[0] != '\0') {
    // Labels take the width of their text.
    const std::wstring text = Wide(entry.text);
    SIZE extent;
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) {
      width = extent.cx;
    }
  }
  if (entry.kind == Kind::kDropDownList || entry.kind == Kind::kComboBox) {
    height += Scale(kListItemHeight * kDropDownItems + 2);  // the dropped-down list
  }
  return {left, top, left + width, top + height};
}

void TForm1::SizeComboBoxes() {
  for (const ControlSpec& entry : kControls) {
    if (entry.kind != Kind::kDropDownList && entry.kind != Kind::kComboBox) continue;
    // The closed box is as high as the table says; its entries are 13 pixels.
    HWND combo = Control(entry.id);
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, Scale(kListItemHeight));
    // Common controls 6 size the dropped-down list by this count, not by the
    // height the box was made with; shorter lists show all their entries.
    SendMessageW(combo, CB_SETMINVISIBLE, kDropDownItems, 0);
    // Systems differ in what the field height includes, so aim by measuring.
    const auto closedHeight = [combo] {
      RECT box;
      GetWindowRect(combo, &box);
      return static_cast<int>(box.bottom - box.top);
    };
    auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3 && field > 0 && closedHeight() != Scale(entry.height); ++attempt) {
      field += Scale(entry.height) - closedHeight();
      SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
  }
}

void TForm1::ShowState() {
  showing_ = true;
  SetWindowTextW(hwnd_, Wide(state_.Caption).c_str());
  SetText(Control(kSysNavn), state_.SysNavn);
  SetText(Control(kPrBib), state_.PrBib);
  SetText(Control(kUserPassw), state_.UserPassw.Text());
  SetText(Control(kTlfnr), state_.Tlfnr);
  FillList(Control(kDrBox), state_.DrBox.items, state_.DrBox.selected);
  FillList(Control(kComport), state_.Comport.items, state_.Comport.selected);
  FillList(Control(kBaudrate), state_.Baudrate.items, state_.Baudrate.selected);
  FillList(Control(kModPar), state_.ModPar.items, state_.ModPar.selected);
  if (state_.ModPar.selected < 0) SetText(Control(kModPar), state_.ModPar.text);
  showing_ = false;
  ShowStations();
  ShowConnection();
  ShowGroups();
}

void TForm1::ShowStations() {
  showing_ = true;
  FillList(Control(kMSnavn), state_.MSnavn.items, -1);
  SetText(Control(kMSnavn), state_.MSnavn.entry);
  showing_ = false;
}

void TForm1::ShowConnection() {
  showing_ = true;
  const std::pair<ControlId, bool> radios[] = {{kModemCon, state_.ModemCon()},
                                               {kDctCon, state_.DctCon()}};
  for (const auto& [id, set] : radios) {
    HWND radio = Control(id);
    SendMessageW(radio, BM_SETCHECK, set ? BST_CHECKED : BST_UNCHECKED, 0);
    // Only the set radio button is a tab stop.
    LONG_PTR style = GetWindowLongPtrW(radio, GWL_STYLE);
    style = set ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(radio, GWL_STYLE, style);
  }
  showing_ = false;
}

void TForm1::ShowGroups() {
  for (const ControlSpec& entry : kControls) {
    bool shown = true;
    if (entry.group == Group::kComm) shown = state_.CommShown;
    if (entry.group == Group::kDial) shown = state_.DialShown;
    HWND control = Control(entry.id);
    if (!shown && GetFocus() == control) SetFocus(Control(kInStall));
    ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
  }
}

void TForm1::OnCommand(int id, int code) {
  HWND control = Control(static_cast<ControlId>(id));
  switch (id) {
    case kSysNavn:
      if (code == EN_CHANGE) state_.SysNavn = TextOf(control);
      break;
    case kPrBib:
      if (code == EN_CHANGE) state_.PrBib = TextOf(control);
      break;
    case kUserPassw:
      if (code == EN_CHANGE) state_.UserPassw = TextOf(control);
      break;
    case kTlfnr:
      if (code == EN_CHANGE) state_.Tlfnr = TextOf(control);
      break;
    case kDrBox:
      if (code == CBN_SELCHANGE) state_.DrBox.selected = Selection(control);
      break;
    case kComport:
      if (code == CBN_SELCHANGE) state_.Comport.selected = Selection(control);
      break;
    case kBaudrate:
      if (code == CBN_SELCHANGE) state_.Baudrate.selected = Selection(control);
      break;
    case kModPar:
      if (code == CBN_SELCHANGE) state_.ModPar.Select(Selection(control));
      if (code == CBN_EDITCHANGE) state_.ModPar.SetText(TextOf(control));
      break;
    case kMSnavn:
      if (code == CBN_SELCHANGE) {
        const int index = Selection(control);
        if (index >= 0) state_.MSnavn.entry = state_.MSnavn.items[static_cast<std::size_t>(index)];
      }
      if (code == CBN_EDITCHANGE) state_.MSnavn.entry = TextOf(control);
      break;
    case kModemCon:
    case kDctCon:
      if (code == BN_CLICKED) {
        state_.ChooseConnection(id == kDctCon ? setup::Connection::kDirect : setup::Connection::kModem);
        RadioClick();
      }
      break;
    case kInStall:
      if (code == BN_CLICKED) InStallClick();
      break;
    case kButton2:
      if (code == BN_CLICKED) Button2Click();
      break;
    default:
      break;
  }
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
  if (message == WM_CHAR && !form->installing_) {
    auto key = static_cast<wchar_t>(wParam);
    Guarded(form->dialogs_, form->hwnd_, [&] { form->MSnavnKeyPress(key); });
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
  if (focus != nullptr && IsChild(hwnd_, focus) &&
      (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

bool TForm1::PreTranslateMessage(MSG& message) {
  if (hwnd_ == nullptr || busy_) return false;
  return IsDialogMessageW(hwnd_, &message) != FALSE;
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
  if (installing_) return;
  installing_ = true;
  bool ends = false;
  Guarded(dialogs_, hwnd_, [&] { ends = install::InstallDialogue(state_, fs_, shell_, *this); });
  installing_ = false;
  if (hwnd_ != nullptr) ShowState();  // undoes whatever reached the controls meanwhile
  if (ends) endProgram_();
}

bool TForm1::Confirm(const std::string& caption, const std::string& text) {
  return dialogs_.Show(hwnd_, text, caption, MB_OKCANCEL) == IDOK;
}

void TForm1::Inform(const std::string& caption, const std::string& text) {
  dialogs_.Show(hwnd_, text, caption, MB_OK);
}

void TForm1::Warn(const std::string& caption, const std::string& text) {
  dialogs_.Show(hwnd_, text, caption, MB_OK | MB_ICONWARNING);
}

void TForm1::Error(const std::string& caption, const std::string& text) {
  dialogs_.Show(hwnd_, text, caption, MB_OK | MB_ICONERROR);
}

void TForm1::RunCopies(const std::function<void()>& copies, install::CopyProgress& progress) {
  WorkerThread job(copies);
  if (!job.Started()) {
    install::Questions::RunCopies(copies, progress);  // then the window waits for them
    return;
  }
  const HANDLE worker = job.Handle();
  copying_ = &progress;
  worker_ = worker;
  // Made only now: the taskbar's object costs start-up time and serves only here.
  if (!progress_) progress_ = std::make_unique<TaskbarProgress>(appWindow_);
  busy_ = true;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  // The window keeps painting while the copies run, but takes no input. The
  // worker posts nothing: its end is its handle, which cannot get lost, and
  // its progress a counter read here.
  bool quit = false;
  std::size_t shown = 0;
  while (MsgWaitForMultipleObjectsEx(1, &worker, kProgressMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
         WAIT_OBJECT_0) {
    if (const std::size_t done = progress.done.load(std::memory_order_relaxed); done != shown) {
      progress_->Show(done, progress.total);
      shown = done;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) quit = true;
      if (message.message == WM_QUIT || IsInput(message.message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  copying_ = nullptr;
  worker_ = nullptr;
  const std::exception_ptr failure = job.Join();
  busy_ = false;
  progress_->Clear();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  if (quit) PostQuitMessage(0);
  if (failure) std::rethrow_exception(failure);
}

namespace {

// Looked up at run time: Windows XP has neither.
using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND);

}  // namespace

void TForm1::WritingBegins() {
  writing_ = true;
  // Windows lists the program by the window that owns its taskbar button.
  static const auto create = User32Function<ShutdownBlockReasonCreateFn>("ShutdownBlockReasonCreate");
  if (create != nullptr) create(appWindow_, kWritingReason);
}

void TForm1::WritingEnds() {
  writing_ = false;
  static const auto destroy =
      User32Function<ShutdownBlockReasonDestroyFn>("ShutdownBlockReasonDestroy");
  if (destroy != nullptr) destroy(appWindow_);
}

void TForm1::EndSession() {
  if (copying_ == nullptr) return;
  copying_->stop = true;
  // The process ends as soon as this returns: a file left half written is
  // less likely once the copy under way has finished.
  WaitForSingleObject(worker_, kEndSessionWaitMs);
}

void TForm1::Button2Click() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void TForm1::FormClose() { state_.ReleaseLists(); }

}  // namespace ui
