// Marks on the way to the first window, for the benchmark's breakdown of the
// start-up. Only the benchmark's own build of the program records them
// (SETUP_STARTUP_MARKS); in Setup.exe they are empty and cost nothing.
#pragma once

namespace platform {

#ifdef SETUP_STARTUP_MARKS
// Appends "<step> <milliseconds since the process was created>" to the file
// that the environment variable SETUP_MARKS names; without it, nothing.
void StartupMark(const char* step);
#else
inline void StartupMark(const char*) {}
#endif

}  // namespace platform
