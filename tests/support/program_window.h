// Finding the windows of a program that runs beside its driver: the drivers
// that start Setup.exe under Wine and answer its windows as a user would.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/win32/wide.h"

namespace test_support {

inline std::string WindowText(HWND window) {
  wchar_t text[4096] = {};
  GetWindowTextW(window, text, 4096);
  return platform::Narrow(text);
}

namespace detail {

struct WindowSearch {
  DWORD processId;
  const wchar_t* windowClass;
  const std::string* caption;  // empty: any
  HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (search->windowClass != nullptr && std::wcscmp(name, search->windowClass) != 0) return TRUE;
  if (!search->caption->empty() && WindowText(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace detail

// A visible top-level window of the process with this class (any class when
// nullptr) and, unless `caption` is empty, this caption; nullptr while there
// is none.
inline HWND FindProgramWindow(DWORD processId, const wchar_t* windowClass,
                              const std::string& caption) {
  detail::WindowSearch search = {processId, windowClass, &caption, nullptr};
  EnumWindows(&detail::MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace test_support
