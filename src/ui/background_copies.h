// The window's work on other threads: the scan while the window is made, and
// an install's copies, during which the window keeps painting and shows how
// far they are on its taskbar button. Also what the window is doing at any
// time, as one phase.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <utility>

#include "install/installation.h"
#include "platform/win32/win32_handles.h"

namespace ui {

// What the window is doing, in the order an install goes through them. From
// kInstalling on, each phase lies within the one before it (the copies run
// while the files are written, which happens while the dialogue runs), so
// "at least kInstalling" means "while installing".
enum class Phase {
  kScanning,    // the scan fills the state: nothing from the controls reaches it
  kShowing,     // the state is copied into the controls, which tell it nothing back
  kIdle,        // each edit of a control is written to the state
  kInstalling,  // the install dialogue runs: the state stays as the user confirmed it
  kWriting,     // the installation's files are written: the session's end is held up
  kCopying,     // the copies run on a worker: the window paints but takes no input
};

// `phase` holds `now` while this lives, and then what it held before.
class PhaseScope {
 public:
  PhaseScope(Phase& phase, Phase now) : phase_(phase), before_(std::exchange(phase, now)) {}
  ~PhaseScope() { phase_ = before_; }
  PhaseScope(const PhaseScope&) = delete;
  PhaseScope& operator=(const PhaseScope&) = delete;

 private:
  Phase& phase_;
  Phase before_;
};

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
  Phase& phase_;
  install::CopyProgress* progress_ = nullptr;  // while the copies run
  HANDLE worker_ = nullptr;                    // their thread, while they run
  std::unique_ptr<TaskbarProgress> taskbar_;
};

}  // namespace ui
