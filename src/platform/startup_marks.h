// Named steps on the way to the first window. Setup.exe records none: here
// they are empty and cost nothing. A build that defines SETUP_STARTUP_MARKS
// links a definition that records them.
#pragma once

namespace platform {

#ifdef SETUP_STARTUP_MARKS
void StartupMark(const char* step);
#else
inline void StartupMark(const char*) {}
#endif

}  // namespace platform
