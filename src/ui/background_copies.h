// The window's work on other threads: the scan while the window is made, and
// an install's copies, during which the window keeps painting and shows how
// far they are on its taskbar button.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>

#include "install/copy_run.h"
#include "platform/win32/win32_handles.h"
#include "ui/phase.h"

namespace ui {

// Runs work on a thread of its own from construction; Join() waits for it.
// What the work raises is kept for the thread that joins.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> work);
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // False when no thread could be made: the work has not run.
  bool Started() const { return handle_.Valid(); }
  HANDLE Handle() const { return handle_.Get(); }
  // Waits for the work to end; returns what it raised, if anything.
  std::exception_ptr Join();

 private:
  static DWORD WINAPI Run(void* data);

  std::function<void()> work_;
  std::exception_ptr failure_;
  platform::ScopedKernelHandle handle_;
};

class TaskbarProgress;

// An install's copies on a worker thread, while the thread that calls Run()
// goes on dispatching the window's messages, except input.
class BackgroundCopies {
 public:
  // `phase` is the window's: kCopying while the copies run.
  explicit BackgroundCopies(Phase& phase);
  ~BackgroundCopies();
  BackgroundCopies(const BackgroundCopies&) = delete;
  BackgroundCopies& operator=(const BackgroundCopies&) = delete;

  // Calls `copies` on a worker and returns when it has returned, raising
  // again what it raised; meanwhile `progress` shows on the taskbar button of
  // `taskbarWindow`. Where no thread can be made, calls `copies` here. A
  // WM_QUIT that arrives meanwhile is posted again at the end.
  void Run(HWND taskbarWindow, const std::function<void()>& copies, install::CopyProgress& progress);

  // The session ends: the copies stop before their next file, and this
  // waits a while for the one under way. Nothing when no copies run.
  void Stop();

 private:
  // Dispatches the window's messages but input until `worker` ends, showing
  // `progress`; true when WM_QUIT came meanwhile.
  bool PumpWhileRunning(HANDLE worker, const install::CopyProgress& progress);

  Phase& phase_;
  install::CopyProgress* progress_ = nullptr;  // while the copies run
  HANDLE worker_ = nullptr;                    // their thread, while they run
  std::unique_ptr<TaskbarProgress> taskbar_;
};

}  // namespace ui
