// The reason Windows shows, from Windows Vista on, for a program that holds
// up a log-off, restart or shut-down. Windows XP has no such list: there the
// calls do nothing, and the program's no to WM_QUERYENDSESSION holds the
// session up without a reason.
#pragma once

#include <windows.h>

namespace platform {

// Names `reason` for the program whose taskbar button `window` owns (Windows
// lists programs by that window). Silent where Windows cannot show it.
void HoldUpSessionEnd(HWND window, const wchar_t* reason);

// Takes the reason given to `window` back. Silent where there is none.
void ReleaseSessionEnd(HWND window);

}  // namespace platform
