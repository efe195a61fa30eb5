#include "ui/install_boxes.h"

namespace ui {

bool InstallBoxes::Confirm(const std::string& caption, const std::string& text) {
  return dialogs_.Show(owner_, text, caption, MB_OKCANCEL) == IDOK;
}

bool InstallBoxes::Retry(const std::string& caption, const std::string& text) {
  return dialogs_.Show(owner_, text, caption, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}

void InstallBoxes::Inform(const std::string& caption, const std::string& text) {
  dialogs_.Show(owner_, text, caption, MB_OK);
}

void InstallBoxes::Warn(const std::string& caption, const std::string& text) {
  dialogs_.Show(owner_, text, caption, MB_OK | MB_ICONWARNING);
}

void InstallBoxes::Error(const std::string& caption, const std::string& text) {
  dialogs_.Show(owner_, text, caption, MB_OK | MB_ICONERROR);
}

}  // namespace ui
