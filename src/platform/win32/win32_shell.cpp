#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <cstdio>

#include "platform/win32/system_function.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"

namespace platform {

using Microsoft::WRL::ComPtr;

ComInitialization::ComInitialization()
    : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComInitialization::~ComInitialization() {
  if (initialized_) CoUninitialize();
}

std::optional<std::string> Win32Shell::DesktopFolder() {
  // The shell's DLL is loaded only here, when the shortcuts are made, not
  // with the program: it is a large part of the start-up otherwise. It is a
  // KnownDLL, so loading it by name takes the system's own.
  const HMODULE shell32 = LoadLibraryW(L"shell32.dll");
  using GetLocationFunction = HRESULT(WINAPI*)(HWND, int, PIDLIST_ABSOLUTE*);
  using GetPathFunction = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
  const auto getLocation = SystemFunction<GetLocationFunction>(shell32, "SHGetSpecialFolderLocation");
  const auto getPath = SystemFunction<GetPathFunction>(shell32, "SHGetPathFromIDListW");
  PIDLIST_ABSOLUTE found = nullptr;
  if (getLocation == nullptr || getPath == nullptr ||
      FAILED(getLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &found))) {
    return std::nullopt;
  }
  const ScopedCoTaskMemory<PIDLIST_ABSOLUTE> items(found);
  wchar_t path[MAX_PATH + 1] = {};
  if (!getPath(items.Get(), path) || path[0] == L'\0') return std::nullopt;
  std::string folder = Narrow(path);
  if (folder.back() == '\\') folder.pop_back();
  return folder;
}

ShortcutResult Win32Shell::SaveShortcut(const Shortcut& shortcut) {
  using Failure = ShortcutResult::Failure;
  ComPtr<IUnknown> object;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&object));
  if (FAILED(result)) return {Failure::kCreateObject, static_cast<std::uint32_t>(result)};
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(result = object.As(&link)) || FAILED(result = object.As(&file))) {
    return {Failure::kQueryInterface, static_cast<std::uint32_t>(result)};
  }
  // These only fill in the object: a value it refuses leaves that field of the
  // shortcut empty, and Save() alone decides whether there is a shortcut.
  link->SetPath(Widen(shortcut.target).c_str());
  link->SetWorkingDirectory(Widen(shortcut.workingDirectory).c_str());
  if (shortcut.arguments) link->SetArguments(Widen(*shortcut.arguments).c_str());
  result = file->Save(Widen(shortcut.linkPath).c_str(), FALSE);
  if (FAILED(result)) return {Failure::kSave, static_cast<std::uint32_t>(result)};
  return {};
}

std::string Win32Shell::MessageFor(std::uint32_t code) {
  wchar_t* allocated = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&allocated), 0, nullptr);
  const ScopedLocalMemory<wchar_t*> buffer(allocated);
  std::wstring text(buffer.Valid() ? buffer.Get() : L"", length);
  // The error box adds its own full stop.
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  if (text.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "OLE error %08X", static_cast<unsigned>(code));
    return fallback;
  }
  return Narrow(text);
}

}  // namespace platform
