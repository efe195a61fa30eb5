#include "ui/dialogs.h"

#include "platform/file_system.h"
#include "platform/win32/wide.h"
#include "setup/box_text.h"

namespace ui {

int Win32Dialogs::Show(HWND owner, const std::string& text, const std::string& caption,
                       UINT flags) {
  return MessageBoxW(owner, platform::Widen(text).c_str(), platform::Widen(caption).c_str(),
                     flags);
}

std::string ProgramTitle() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string full = platform::Narrow(std::wstring_view(path, length));
  return setup::TitleFromFileName(platform::NamePart(full));
}

void ShowError(Dialogs& dialogs, HWND owner, const std::string& message) noexcept {
  try {
    dialogs.Show(owner, setup::ErrorBoxText(message), ProgramTitle(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing is left to tell the user with; the window goes on.
  }
}

}  // namespace ui
