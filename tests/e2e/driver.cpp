// Drives Setup.exe as a user would: starts it in the current folder, waits
// for its window, edits fields, answers its message boxes, and reports every
// box it saw. Runs under Wine beside the program.
//
//   e2e_driver SETUP_EXE SCREENSHOT.bmp look     window and the places of its
//                                                controls, then EXIT
//   e2e_driver SETUP_EXE SCREENSHOT.bmp install  edit, install, OK to all
//   e2e_driver SETUP_EXE SCREENSHOT.bmp minimised|maximised  started so, then EXIT
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/wide.h"
#include "support/program_window.h"
#include "ui/layout.h"

namespace {

using Clock = std::chrono::steady_clock;

DWORD processId = 0;
HANDLE setupProcess = nullptr;

// Ends Setup.exe too, which would otherwise hold the output pipe open.
[[noreturn]] void Fail(const std::string& what) {
  std::printf("FAILED: %s\n", what.c_str());
  std::fflush(stdout);
  if (setupProcess != nullptr) TerminateProcess(setupProcess, 1);
  std::exit(1);
}

HWND WaitFor(const wchar_t* windowClass, const std::string& caption) {
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (Clock::now() < deadline) {
    HWND window = test_support::FindProgramWindow(processId, windowClass, caption);
    if (window != nullptr) return window;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Fail("no window \"" + caption + "\"");
}

// Reads a message box, reports it and presses OK.
void AnswerOk(const std::string& caption) {
  HWND box = WaitFor(L"#32770", caption);
  std::printf("box \"%s\": %s\n", caption.c_str(),
              test_support::WindowText(GetDlgItem(box, 0xFFFF)).c_str());
  std::fflush(stdout);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void Type(HWND control, const std::wstring& keys) {
  for (const wchar_t key : keys) {
    if (key == L'\r') PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(control, WM_CHAR, key, 0);
  }
}

void Select(HWND form, ui::ControlId id, int index) {
  HWND combo = GetDlgItem(form, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// Saves what the screen shows of the window as a 24-bit bitmap.
void Screenshot(HWND window, const std::wstring& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER header = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size),
                             0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, &header, sizeof(header), &written, nullptr);
  WriteFile(file, &info.bmiHeader, sizeof(BITMAPINFOHEADER), &written, nullptr);
  WriteFile(file, bits, size, &written, nullptr);
  CloseHandle(file);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// The window's outer size and each control's place in its client area, in
// the pixels of the screen.
void ReportLayout(HWND form) {
  RECT frame;
  GetWindowRect(form, &frame);
  std::printf("window %ld %ld\n", frame.right - frame.left, frame.bottom - frame.top);
  for (const ui::ControlSpec& entry : ui::kControls) {
    RECT place;
    HWND control = GetDlgItem(form, entry.id);
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
    std::printf("control %s %ld %ld %ld %ld\n", entry.name, place.left, place.top,
                place.right - place.left, place.bottom - place.top);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: e2e_driver SETUP_EXE SCREENSHOT.bmp look|install|minimised|maximised\n");
    return 2;
  }
  SetProcessDPIAware();  // sees the screen's real pixels, as the program does
  const std::wstring mode = argv[3];
  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
  const bool asked = mode == L"minimised" || mode == L"maximised";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = asked ? STARTF_USESHOWWINDOW : 0;
  startup.wShowWindow = mode == L"minimised" ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION process = {};
  const auto start = Clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    Fail("cannot start Setup.exe");
  }
  processId = process.dwProcessId;
  setupProcess = process.hProcess;

  if (mode == L"minimised") {  // the taskbar button only, until it restores the window
    WaitForInputIdle(setupProcess, 60000);
    HWND taskbar = WaitFor(L"TApplication", "");
    if (!IsIconic(taskbar) || test_support::FindProgramWindow(processId, L"TForm1", "")) Fail("shown");
    PostMessageW(taskbar, WM_SYSCOMMAND, SC_RESTORE, 0);
  }
  HWND form = WaitFor(L"TForm1", "");
  if (asked && IsZoomed(form) != (mode == L"maximised")) Fail("the window is not as asked");
  const auto shown = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  std::printf("window \"%s\" shown after %lld ms\n", test_support::WindowText(form).c_str(),
              static_cast<long long>(shown.count()));

  if (mode == L"install") {
    // A user's edits: another program folder, port COM3, one more station.
    SetWindowTextW(GetDlgItem(form, ui::kPrBib), L"Måleprogrammer\\KAMBRIX");
    Select(form, ui::kComport, 2);
    HWND stationEdit = GetWindow(GetDlgItem(form, ui::kMSnavn), GW_CHILD);
    Type(stationEdit, L"ny1\r");
  }
  // Let the window settle and paint before it is photographed.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Screenshot(form, argv[2]);

  if (mode == L"install") {
    PostMessageW(GetDlgItem(form, ui::kInStall), BM_CLICK, 0, 0);
    AnswerOk("Installation af programmer");
    AnswerOk("Genveje til KAMBRIX programmer");
    AnswerOk("Installation færdig");
  } else {
    ReportLayout(form);
    PostMessageW(GetDlgItem(form, ui::kButton2), BM_CLICK, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) Fail("Setup.exe did not end");
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  std::printf("Setup.exe ended with exit code %lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}
