// The floor of Setup.exe's own window: the window and its controls made from
// the same layout table (src/ui/layout.h), with the table's font, places,
// texts and styles and the same common controls (Setup.exe's manifest), and
// nothing else: no scan, no state (its fields stay empty), no tooltips, no
// taskbar window. Its start-up is what this
// window itself costs; an NSIS page has no drop-down lists, and each one is a
// window of its own. It closes on WM_CLOSE and on EXIT.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "form_class.h"
#include "ui/layout.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == ui::kButton2) DestroyWindow(window);  // EXIT
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Wide(const char* text) {
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  return wide;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX common = {sizeof(common), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  bench::RegisterFormClass(instance, &WindowProc);
  const ui::WindowSpec& layout = ui::kWindow;
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"TForm1", L"floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                layout.left, layout.top, layout.width, layout.height, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) return 1;
  HDC screen = GetDC(nullptr);
  const HFONT font = CreateFontW(-MulDiv(layout.fontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0,
                                 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 Wide(layout.fontFace).c_str());
  ReleaseDC(nullptr, screen);
  for (const ui::ControlSpec& entry : ui::kControls) {
    const ui::WindowClass controlClass = ui::ClassOf(entry.kind);
    HWND control = CreateWindowExW(controlClass.exStyle, controlClass.name, Wide(entry.text).c_str(),
                                   ui::StyleOf(entry), entry.left, entry.top, entry.width, entry.height,
                                   window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance,
                                   nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  return 0;
}
