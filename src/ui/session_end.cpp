#include "ui/session_end.h"

#include <commctrl.h>

#include "platform/win32/session_end.h"

namespace ui {

namespace {

constexpr wchar_t kWritingReason[] = L"KAMBRIX programmerne bliver installeret";

}  // namespace

void SessionEnd::AnswerFor(HWND window) {
  SetWindowSubclass(window, &SessionEnd::AnswerProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK SessionEnd::AnswerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
  if (message == WM_QUERYENDSESSION) return reinterpret_cast<const SessionEnd*>(data)->QueryEndSession();
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void SessionEnd::WritingBegins(HWND taskbarWindow) {
  phase_ = Phase::kWriting;
  platform::HoldUpSessionEnd(taskbarWindow, kWritingReason);
}

void SessionEnd::WritingEnds(HWND taskbarWindow) {
  phase_ = Phase::kInstalling;
  platform::ReleaseSessionEnd(taskbarWindow);
}

}  // namespace ui
