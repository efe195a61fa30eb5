// The steps of Setup.exe's start-up as bench_setup_marks records them, for the
// benchmark's breakdown of the start-up time: each StartupMark appends
// "<step> <milliseconds since the process was created>" to the file that the
// environment variable SETUP_MARKS names; without it, nothing.
#include "platform/startup_marks.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

double Milliseconds(const FILETIME& time) {
  return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                             time.dwLowDateTime) /
         10000.0;
}

}  // namespace

void StartupMark(const char* step) {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  static FILE* const marks = [] {
    const wchar_t* path = _wgetenv(L"SETUP_MARKS");
    return path != nullptr ? _wfopen(path, L"a") : nullptr;
  }();
  if (marks == nullptr) return;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  std::fprintf(marks, "%s %.2f\n", step, Milliseconds(now) - Milliseconds(created));
  std::fflush(marks);
}

}  // namespace platform
