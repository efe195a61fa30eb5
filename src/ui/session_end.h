// The end of the Windows session as the program meets it. Every window of the
// program answers no when Windows asks whether the session may end while the
// installation's files are written, and names the reason where Windows
// shows one; when the session ends anyway, the copies stop before their next
// file and the program waits a while for the one under way.
#pragma once

#include <windows.h>

#include "ui/background_copies.h"
#include "ui/phase.h"

namespace ui {

class SessionEnd {
 public:
  // `phase` is the window's, `copies` its copies.
  SessionEnd(Phase& phase, BackgroundCopies& copies) : phase_(phase), copies_(copies) {}

  // The answer to WM_QUERYENDSESSION: no while the files are written.
  LRESULT QueryEndSession() const { return phase_ >= Phase::kWriting ? FALSE : TRUE; }
  // The session ends (WM_ENDSESSION with TRUE).
  void EndSession() { copies_.Stop(); }
  // `window`, a window of the program that Windows asks too (the
  // tooltips), answers as the others do from now on.
  void AnswerFor(HWND window);

  // The installation's files are being written from WritingBegins() to
  // WritingEnds(): the end of the session is held up, with the reason
  // given to `taskbarWindow`.
  void WritingBegins(HWND taskbarWindow);
  void WritingEnds(HWND taskbarWindow);

 private:
  static LRESULT CALLBACK AnswerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);

  Phase& phase_;
  BackgroundCopies& copies_;
};

}  // namespace ui
