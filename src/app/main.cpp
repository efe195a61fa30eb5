// Setup.exe: installs the KAMBRIX programs from the folder it is started in.
#include <windows.h>

#include <exception>

#include "platform/win32/dll_search.h"
#include "platform/startup_marks.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"
#include "ui/dialogs.h"
#include "ui/form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  platform::StartupMark("main");
  platform::RestrictDllSearch();
  platform::EnforceRedirectionTrust();
  platform::ComInitialization com;
  platform::StartupMark("com");
  platform::Win32FileSystem fs;
  platform::Win32Shell shell;
  ui::Win32Dialogs dialogs;
  ui::TForm1 form(fs, shell, dialogs, [] { PostQuitMessage(0); });
  try {
    form.Create(show);
  } catch (const std::exception& error) {
    ui::ShowError(dialogs, nullptr, error.what());
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
