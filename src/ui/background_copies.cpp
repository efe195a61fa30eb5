#include "ui/background_copies.h"

#include <shobjidl.h>
#include <wrl/client.h>

namespace ui {

namespace {

// How often the taskbar's progress is brought up to date while the copies run.
constexpr DWORD kProgressMs = 100;
// How long a session that ends waits for the copy under way: Windows ends a
// program that takes much longer to answer WM_ENDSESSION anyway.
constexpr DWORD kEndSessionWaitMs = 4000;

bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
         message == WM_NCXBUTTONDOWN || message == WM_NCXBUTTONUP || message == WM_NCXBUTTONDBLCLK;
}

}  // namespace

// The taskbar button's progress bar; silently absent where the shell has none.
class TaskbarProgress {
 public:
  explicit TaskbarProgress(HWND window) : window_(window) {
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&taskbar_))) ||
        FAILED(taskbar_->HrInit())) {
      taskbar_.Reset();
    }
  }
  void Show(std::size_t done, std::size_t total) {
    if (taskbar_) taskbar_->SetProgressValue(window_, done, total == 0 ? 1 : total);
  }
  void Clear() {
    if (taskbar_) taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
  }

 private:
  HWND window_;
  Microsoft::WRL::ComPtr<ITaskbarList3> taskbar_;
};

WorkerThread::WorkerThread(std::function<void()> work) : work_(std::move(work)) {
  handle_.Reset(CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr));
}

std::exception_ptr WorkerThread::Join() {
  if (handle_.Valid()) {
    WaitForSingleObject(handle_.Get(), INFINITE);
    handle_.Reset();
  }
  return failure_;
}

DWORD WINAPI WorkerThread::Run(void* data) {
  auto* worker = static_cast<WorkerThread*>(data);
  try {
    worker->work_();
  } catch (...) {
    worker->failure_ = std::current_exception();
  }
  return 0;
}

BackgroundCopies::BackgroundCopies(Phase& phase) : phase_(phase) {}

BackgroundCopies::~BackgroundCopies() = default;

void BackgroundCopies::Run(HWND taskbarWindow, const std::function<void()>& copies,
                           install::CopyProgress& progress) {
  WorkerThread job(copies);
  if (!job.Started()) {
    copies();  // then the window waits for them
    return;
  }
  HANDLE worker = job.Handle();
  progress_ = &progress;
  worker_ = worker;
  // Made only now: the taskbar's object costs start-up time and serves only here.
  if (!taskbar_) taskbar_ = std::make_unique<TaskbarProgress>(taskbarWindow);
  std::exception_ptr failure;
  bool quit = false;
  {
    const PhaseScope copying(phase_, Phase::kCopying);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    quit = PumpWhileRunning(worker, progress);
    progress_ = nullptr;
    worker_ = nullptr;
    failure = job.Join();
  }
  taskbar_->Clear();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  if (quit) PostQuitMessage(0);
  if (failure) std::rethrow_exception(failure);
}

bool BackgroundCopies::PumpWhileRunning(HANDLE worker, const install::CopyProgress& progress) {
  // The window keeps painting while the copies run, but takes no input. The
  // worker posts nothing: its end is its handle, which cannot get lost, and
  // its progress a counter read here.
  bool quit = false;
  std::size_t shown = 0;
  while (MsgWaitForMultipleObjectsEx(1, &worker, kProgressMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
         WAIT_OBJECT_0) {
    if (const std::size_t done = progress.done.load(std::memory_order_relaxed); done != shown) {
      taskbar_->Show(done, progress.total);
      shown = done;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) quit = true;
      if (message.message == WM_QUIT || IsInput(message.message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return quit;
}

void BackgroundCopies::Stop() {
  if (phase_ != Phase::kCopying) return;
  progress_->stop = true;
  // The process ends as soon as this returns: a file left half written is
  // less likely once the copy under way has finished.
  WaitForSingleObject(worker_, kEndSessionWaitMs);
}

}  // namespace ui
