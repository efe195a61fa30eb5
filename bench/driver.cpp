// Times Setup.exe and the programs it is compared with, under Wine, from the
// moment their process is created. Runs beside them in the same Wine desktop.
//
//   bench_driver [--limit=MS] start PROGRAM [ARGS]  start -> window "TForm1" shown
//                                                   (for Setup.exe: scan done), then EXIT
//   bench_driver [--limit=MS] first PROGRAM [ARGS]  start -> its first visible top-level
//                                                   window of any class, then the
//                                                   process is ended
//   bench_driver [--limit=MS] install SETUP_EXE     start, press "Installer programmer",
//                                                   OK, and time until the shortcut
//                                                   question; memory figures
//   bench_driver [--limit=MS] run COMMAND_LINE      start -> process ended (its output
//                                                   goes to NUL)
//
// Every program starts in the driver's current folder. A program still busy
// after the limit is ended and "timeout=1" printed. Results are printed as
// key=value lines.
//
// Memory: under Wine, GetProcessMemoryInfo for another process reads the Unix
// process's /proc status: PeakWorkingSetSize is VmHWM (peak resident, Wine's
// own libraries included), PagefileUsage is RssAnon + VmSwap (private memory)
// and PeakPagefileUsage merely repeats it; so the private peak is sampled here
// while the program runs.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/wide.h"
#include "support/program_window.h"
#include "ui/layout.h"

namespace {

using Clock = std::chrono::steady_clock;

DWORD processId = 0;
DWORD limitMs = INFINITE;
Clock::time_point deadline = Clock::time_point::max();
HANDLE watched = nullptr;
SIZE_T privatePeak = 0;  // the largest PagefileUsage sampled

void SampleMemory() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (watched != nullptr && GetProcessMemoryInfo(watched, &counters, sizeof(counters))) {
    if (counters.PagefileUsage > privatePeak) privatePeak = counters.PagefileUsage;
  }
}

void PrintMemory(HANDLE process, const char* prefix = "");

[[noreturn]] void TimeOut(HANDLE process) {
  std::printf("timeout=1\n");
  PrintMemory(process);
  std::fflush(stdout);
  TerminateProcess(process, 3);
  WaitForSingleObject(process, 10000);
  std::exit(3);
}

[[noreturn]] void Fail(const std::string& what) {
  std::printf("FAILED: %s\n", what.c_str());
  std::fflush(stdout);
  std::exit(1);
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits for a visible top-level window of the program, looking every `pollMs`.
HWND WaitFor(const wchar_t* windowClass, const std::string& caption, DWORD pollMs,
             HANDLE process) {
  for (unsigned polls = 0;; ++polls) {
    if (polls % 4 == 0) SampleMemory();
    if (Clock::now() > deadline) TimeOut(process);
    if (HWND window = test_support::FindProgramWindow(processId, windowClass, caption)) {
      return window;
    }
    if (WaitForSingleObject(process, pollMs) == WAIT_OBJECT_0) {
      const std::string name =
        !caption.empty() ? caption : windowClass != nullptr ? platform::Narrow(windowClass) : "any";
      Fail("the program ended before its window \"" + name + "\" appeared");
    }
  }
}

PROCESS_INFORMATION Start(std::wstring commandLine, bool quiet) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  HANDLE nul = INVALID_HANDLE_VALUE;
  if (quiet) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &inherit, OPEN_EXISTING, 0, nullptr);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
  }
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, quiet, 0, nullptr, nullptr,
                      &startup, &process)) {
    Fail("cannot start " + platform::Narrow(commandLine) + " (error " +
         std::to_string(GetLastError()) + ")");
  }
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  processId = process.dwProcessId;
  return process;
}

void AnswerBox(HWND box, WPARAM button) { PostMessageW(box, WM_COMMAND, button, 0); }

int Finish(const PROCESS_INFORMATION& process) {
  if (WaitForSingleObject(process.hProcess, 600000) != WAIT_OBJECT_0) Fail("the program did not end");
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  std::printf("exit_code=%lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}

void PrintMemory(HANDLE process, const char* prefix) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) Fail("GetProcessMemoryInfo");
  if (counters.PagefileUsage > privatePeak) privatePeak = counters.PagefileUsage;
  std::printf("%speak_working_set=%lu\n%sworking_set=%lu\n%speak_pagefile=%lu\n%spagefile=%lu\n"
              "%ssampled_peak_pagefile=%lu\n",
              prefix, static_cast<unsigned long>(counters.PeakWorkingSetSize),
              prefix, static_cast<unsigned long>(counters.WorkingSetSize),
              prefix, static_cast<unsigned long>(counters.PeakPagefileUsage),
              prefix, static_cast<unsigned long>(counters.PagefileUsage),
              prefix, static_cast<unsigned long>(privatePeak));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wstring(argv[1]).rfind(L"--limit=", 0) == 0) {
    limitMs = static_cast<DWORD>(std::wcstoul(argv[1] + 8, nullptr, 10));
    --argc;
    ++argv;
  }
  if (argc < 3) {
    std::printf("usage: bench_driver start|install SETUP_EXE | run COMMAND_LINE\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  if (mode == L"run") {
    std::wstring commandLine;
    for (int i = 2; i < argc; ++i) commandLine += (i > 2 ? L" " : L"") + std::wstring(argv[i]);
    const auto start = Clock::now();
    const PROCESS_INFORMATION process = Start(commandLine, true);
    if (WaitForSingleObject(process.hProcess, limitMs) != WAIT_OBJECT_0) TimeOut(process.hProcess);
    std::printf("ms=%.1f\n", MillisecondsSince(start));
    return Finish(process);
  }
  if (mode != L"start" && mode != L"install" && mode != L"first") Fail("unknown mode");

  const auto start = Clock::now();
  std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
  for (int i = 3; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
  const PROCESS_INFORMATION process = Start(commandLine, false);
  watched = process.hProcess;
  if (limitMs != INFINITE) deadline = start + std::chrono::milliseconds(limitMs);
  HWND form = WaitFor(mode == L"first" ? nullptr : L"TForm1", "", 2, process.hProcess);
  std::printf("shown_ms=%.1f\n", MillisecondsSince(start));
  std::fflush(stdout);

  if (mode == L"first") {
    // Not every program closes without a question (an installer asks
    // whether to cancel): it is ended.
    TerminateProcess(process.hProcess, 0);
    return Finish(process);
  }

  if (mode == L"start") {
    // The EXIT button; a window without one (a floor) is closed.
    if (HWND exitButton = GetDlgItem(form, ui::kButton2)) {
      PostMessageW(exitButton, BM_CLICK, 0, 0);
    } else {
      PostMessageW(form, WM_CLOSE, 0, 0);
    }
    return Finish(process);
  }

  const std::string question = "Installation af programmer";
  const std::string shortcuts = "Genveje til KAMBRIX programmer";
  const std::string done = "Installation færdig";
  PrintMemory(process.hProcess, "window_");
  privatePeak = 0;
  PostMessageW(GetDlgItem(form, ui::kInStall), BM_CLICK, 0, 0);
  HWND box = WaitFor(L"#32770", question, 2, process.hProcess);
  // The copies begin when the question is answered.
  const auto copies = Clock::now();
  if (limitMs != INFINITE) deadline = copies + std::chrono::milliseconds(limitMs);
  AnswerBox(box, IDOK);
  box = WaitFor(L"#32770", shortcuts, 5, process.hProcess);
  std::printf("install_ms=%.1f\n", MillisecondsSince(copies));
  PrintMemory(process.hProcess);
  std::fflush(stdout);
  AnswerBox(box, IDCANCEL);  // no desktop shortcuts
  box = WaitFor(L"#32770", done, 5, process.hProcess);
  std::printf("done_text=%s\n", test_support::WindowText(GetDlgItem(box, 0xFFFF)).c_str());
  AnswerBox(box, IDOK);
  return Finish(process);
}
