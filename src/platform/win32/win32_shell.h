// The Windows shell through COM: the desktop folder and Shell Link objects,
// by their wide-character interfaces so that any path works.
#pragma once

#include "platform/shell.h"

namespace platform {

class Win32Shell : public Shell {
 public:
  std::optional<std::string> DesktopFolder() override;
  ShortcutResult SaveShortcut(const Shortcut& shortcut) override;
  // The system's message for an HRESULT or Win32 code; "OLE error XXXXXXXX"
  // when the system has none.
  std::string MessageFor(std::uint32_t code) override;
};

// COM for the calling thread, single-threaded apartment, for as long as the
// object lives.
class ComInitialization {
 public:
  ComInitialization();
  ~ComInitialization();
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;

 private:
  bool initialized_;
};

}  // namespace platform
