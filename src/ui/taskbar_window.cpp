#include "ui/taskbar_window.h"

namespace ui {

namespace {

constexpr wchar_t kAppClass[] = L"TApplication";

}  // namespace

void TaskbarWindow::Register() { BaseWindow::Register(kAppClass); }

bool TaskbarWindow::Create(const std::wstring& title) {
  return CreateAs(0, kAppClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                  nullptr) != nullptr;
}

bool TaskbarWindow::ShowAsAsked(int show) {
  // Windows gives the start-up show request to the first unowned window
  // with a caption that is shown normally: this one, which would turn
  // maximised into a blank screen. So it is never shown that way; the form
  // takes the request.
  const bool minimised = show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
                         show == SW_SHOWMINNOACTIVE || show == SW_FORCEMINIMIZE;
  ShowWindow(Handle(), minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
  firstShow_ = show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  // Minimised, only the taskbar button shows, not activated; its first
  // restore opens the form.
  return !minimised;
}

LRESULT TaskbarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = Handle();
  const HWND formWindow = form_.FormWindow();
  if (formWindow != nullptr) {
    // After a minimised start, the first restore opens the form (posted: not
    // in the middle of this window's own move).
    if (message == WM_WINDOWPOSCHANGED && firstShow_ != 0 && IsWindowVisible(hwnd) && !IsIconic(hwnd)) {
      PostMessageW(formWindow, kWmShowForm, 0, 0);
    }
    // Activation and closing go on to the form, or to the box that the form
    // waits for, so that Enter and Esc answer it.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && IsWindowVisible(formWindow)) {
      const HWND popup = GetLastActivePopup(formWindow);
      SetActiveWindow(popup != nullptr && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup
                                                                                      : formWindow);
      return 0;
    }
    if (message == WM_QUERYENDSESSION) return form_.QueryEndSession();
    if (message == WM_ENDSESSION && wParam != FALSE) {
      form_.EndSession();
      return 0;
    }
    if (message == WM_CLOSE) {
      PostMessageW(formWindow, WM_CLOSE, 0, 0);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace ui
