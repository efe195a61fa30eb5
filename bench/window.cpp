// The floor for showing a window under the same conditions as Setup.exe: a
// bare top-level window of the same class name and size, shown at once (no
// argument), or after the bare enumeration of the distribution ("scan"), or
// after asking the shell for the taskbar's progress interface, as Setup.exe
// does before it shows its window ("taskbar"). It closes on WM_CLOSE.
#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "enumerate.h"
#include "form_class.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  const std::wstring mode = commandLine;
  if (mode == L"scan") bench::EnumerateDistribution();
  bench::RegisterFormClass(instance, &WindowProc);
  HWND window = CreateWindowExW(0, L"TForm1", L"floor", WS_OVERLAPPEDWINDOW, 100, 100, 544, 382,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  if (mode == L"taskbar") {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ITaskbarList3* taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&taskbar)))) {
      taskbar->HrInit();
      taskbar->Release();
    }
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
