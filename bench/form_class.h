// The window class of the bench's bare windows: Setup.exe's form class by
// name, cursor and background, so that the driver finds them as it finds the
// form.
#pragma once

#include <windows.h>

namespace bench {

inline void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"TForm1";
  RegisterClassExW(&windowClass);
}

}  // namespace bench
