// Holds a file open without sharing, as a running program holds its own
// executable: hold_open FILE READY_EVENT RELEASE_EVENT. Signals READY once
// the file is open, and closes it when RELEASE is signalled (or after a
// minute, so that no test can leave it behind).
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  const HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
  if (ready == nullptr || release == nullptr) return 1;
  SetEvent(ready);
  WaitForSingleObject(release, 60000);
  CloseHandle(file);
  return 0;
}
