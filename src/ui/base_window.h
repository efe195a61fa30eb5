// A window of the program whose messages go to a member function of the
// object it belongs to. Every such window has the one static window
// procedure below: it finds the object in the window's creation data at
// WM_NCCREATE, keeps it in the window, and runs the handler at the edge of
// Windows' call, where whatever the handler raises ends in the error box
// instead of crossing into Windows.
#pragma once

#include <windows.h>

#include "ui/dialogs.h"

namespace ui {

// The program's icon at `size` pixels, or Windows' own where it has none.
inline HICON ProgramIcon(int size) {
  auto icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

// `Derived` (a friend of this class) gives
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
//   Dialogs& ErrorBoxes();  // where an error that ends a handler is shown
// and passes what it does not handle on to DefWindowProcW. It destroys its
// window in its own destructor (Destroy()), while what the handlers use is
// still there.
template <typename Derived>
class BaseWindow {
 public:
  // The window; nullptr before it is made and from WM_NCDESTROY on.
  HWND Handle() const { return hwnd_; }

 protected:
  BaseWindow() = default;
  ~BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // Registers the window class `name` for windows of `Derived`: the
  // program's icon, the arrow cursor and the colour of a dialog's face.
  // Registering a class that is there already changes nothing.
  static void Register(const wchar_t* name) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &BaseWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.hIcon = ProgramIcon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
  }

  // Makes this object's window, of a class that Register() registered;
  // nullptr when Windows cannot.
  HWND CreateAs(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int left,
                int top, int width, int height, HWND owner) {
    return CreateWindowExW(exStyle, className, title, style, left, top, width, height, owner, nullptr,
                           GetModuleHandleW(nullptr), static_cast<Derived*>(this));
  }

  void Destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      auto* created = static_cast<Derived*>(creation->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      static_cast<BaseWindow*>(created)->hwnd_ = hwnd;
    }
    // Nothing before WM_NCCREATE (WM_GETMINMAXINFO) has an object yet.
    auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      // The window's last message: from here on it reaches the object no more.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      static_cast<BaseWindow*>(self)->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    Guarded(self->ErrorBoxes(), hwnd, [&] { result = self->HandleMessage(message, wParam, lParam); });
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace ui
