#include "ui/dialogs.h"

#include "install/install_flow.h"
#include "platform/file_system.h"
#include "platform/unicode.h"
#include "platform/wide.h"

namespace ui {

int Win32Dialogs::Show(HWND owner, const std::string& text, const std::string& caption,
                       UINT flags) {
  return MessageBoxW(owner, platform::Widen(text).c_str(), platform::Widen(caption).c_str(),
                     flags);
}

std::string TitleFromFileName(const std::string& fileName) {
  const std::string base = fileName.substr(0, fileName.find('.'));
  if (base.empty()) return base;
  std::size_t first = 0;
  platform::NextCodePoint(base, first);
  return base.substr(0, first) + platform::ToLower(std::string_view(base).substr(first));
}

std::string ProgramTitle() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string full = platform::Narrow(std::wstring_view(path, length));
  return TitleFromFileName(platform::NamePart(full));
}

std::string ErrorBoxText(const std::string& message) {
  std::string text = install::ShortenedPaths(message);  // the box fits on the screen
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += ".";
  return text;
}

void ShowError(Dialogs& dialogs, HWND owner, const std::string& message) noexcept {
  try {
    dialogs.Show(owner, ErrorBoxText(message), ProgramTitle(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing is left to tell the user with; the window goes on.
  }
}

}  // namespace ui
