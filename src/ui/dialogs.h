// The message boxes the window shows. The window asks through this seam so
// that its tests can answer the boxes from a script.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace ui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a message box owned by `owner` (nullptr: unowned) with MessageBox
  // flags; returns the button pressed (IDOK, IDCANCEL ...).
  virtual int Show(HWND owner, const std::string& text, const std::string& caption,
                   UINT flags) = 0;
};

class Win32Dialogs : public Dialogs {
 public:
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
};

// The program's title: the executable's file name cut at its first ".", all
// after the first character in lower case ("Setup.exe" gives "Setup").
std::string ProgramTitle();
std::string TitleFromFileName(const std::string& fileName);

// An error's text as the error box shows it: its paths shortened
// (install::ShortenedPaths), and a "." appended when the last character
// sorts above ".".
std::string ErrorBoxText(const std::string& message);

// Runs a handler at the edge of a Win32 callback: any error ends it and is
// shown in the error box (owned by `owner`, the program's title as caption,
// error icon, OK only). No exception leaves this function.
template <typename Handler>
void Guarded(Dialogs& dialogs, HWND owner, Handler&& handler) noexcept;

void ShowError(Dialogs& dialogs, HWND owner, const std::string& message) noexcept;

// Runs a handler; the text of the error that ended it, if one did.
template <typename Handler>
std::optional<std::string> ErrorOf(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown error";
  }
  return std::nullopt;
}

template <typename Handler>
void Guarded(Dialogs& dialogs, HWND owner, Handler&& handler) noexcept {
  if (const auto error = ErrorOf(std::forward<Handler>(handler))) ShowError(dialogs, owner, *error);
}

}  // namespace ui
