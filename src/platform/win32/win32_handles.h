// Owners of what Windows hands out and wants back: kernel handles (files,
// threads), searches, memory from FormatMessage and the shell, device
// contexts, the objects selected into them, and fonts and other GDI objects.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "platform/scoped_handle.h"

namespace platform {

// CreateFileW's handle: INVALID_HANDLE_VALUE when there is none.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { CloseHandle(handle); }
};
using ScopedFile = ScopedHandle<FileHandleTraits>;

// A handle of a thread, a process or an event: nullptr when there is none.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { CloseHandle(handle); }
};
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;

// FindFirstFileExW's handle, closed by FindClose.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { FindClose(handle); }
};
using ScopedFind = ScopedHandle<FindHandleTraits>;

// What one function of Windows frees: memory that Windows allocated for the
// caller with LocalAlloc (FORMAT_MESSAGE_ALLOCATE_BUFFER) or with
// CoTaskMemAlloc (the shell's item lists), and a font, brush or bitmap, which
// DeleteObject frees and which must not be selected into a device context
// when it goes.
template <typename Pointer, auto Free>
struct FreedByTraits {
  using Handle = Pointer;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { Free(handle); }
};
template <typename Pointer>
using ScopedLocalMemory = ScopedHandle<FreedByTraits<Pointer, &LocalFree>>;
template <typename Pointer>
using ScopedCoTaskMemory = ScopedHandle<FreedByTraits<Pointer, &CoTaskMemFree>>;
using ScopedFont = ScopedHandle<FreedByTraits<HFONT, &DeleteObject>>;

// The device context of a window's client area (GetDC), given back with
// ReleaseDC; `window` nullptr is the screen's.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for as long as this lives; the
// object that was selected before comes back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace platform
