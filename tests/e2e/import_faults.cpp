// A program with every fault that the checks of Setup.exe's imports and
// header are to find: a kernel32 function and a msvcrt function that Windows
// XP lacks, a DLL that is no KnownDLL (version.dll), and a header that asks
// for Windows Vista (subsystem 6.0, set where it is linked). It is never run.
#include <windows.h>

#include <time.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const auto seconds = _time64(nullptr);
  return static_cast<int>(GetTickCount64() + static_cast<ULONGLONG>(seconds) +
                          GetFileVersionInfoSizeW(L"Setup.exe", nullptr));
}
