// The floor of Setup.exe's own window: the window and its controls made from
// the same layout table (src/ui/layout.h), with the table's font, places and
// texts and the same common controls (Setup.exe's manifest), and nothing else:
// no scan, no state, no tooltips, no taskbar window. Its start-up is what this
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

// The window class and style of each kind of control, as Setup.exe makes it.
void ClassOf(ui::Kind kind, const wchar_t*& windowClass, DWORD& style, DWORD& exStyle) {
  switch (kind) {
    case ui::Kind::kLabel: windowClass = L"STATIC"; style |= SS_LEFT | SS_NOPREFIX; break;
    case ui::Kind::kButton: windowClass = L"BUTTON"; style |= BS_PUSHBUTTON; break;
    case ui::Kind::kEdit: windowClass = L"EDIT"; style |= ES_AUTOHSCROLL; exStyle = WS_EX_CLIENTEDGE; break;
    case ui::Kind::kDropDownList: windowClass = L"COMBOBOX"; style |= CBS_DROPDOWNLIST | WS_VSCROLL; break;
    case ui::Kind::kComboBox:
      windowClass = L"COMBOBOX";
      style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
      break;
    case ui::Kind::kRadio: windowClass = L"BUTTON"; style |= BS_AUTORADIOBUTTON | BS_LEFTTEXT; break;
  }
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
    const wchar_t* controlClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | (entry.tabOrder >= 0 ? WS_TABSTOP : 0);
    DWORD exStyle = 0;
    ClassOf(entry.kind, controlClass, style, exStyle);
    HWND control = CreateWindowExW(exStyle, controlClass, Wide(entry.text).c_str(), style, entry.left,
                                   entry.top, entry.width, entry.height, window,
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
