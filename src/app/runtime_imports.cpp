// Import entries that Setup.exe fills itself instead of importing them.
//
// The toolchain's thread library (winpthreads, under libstdc++) calls
// GetTickCount64 through its import entry. Windows XP's kernel32 has no such
// function, and XP refuses to start a program that imports one it lacks.
// Defined here, the entry never reaches the import table: the linker takes
// this definition before it looks into kernel32's import library.
#include <cstdint>

#include "platform/win32/tick_count.h"

#if defined(__i386__)
#define SETUP_IMPORT_ENTRY(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#else
#define SETUP_IMPORT_ENTRY(name, argumentBytes) "__imp_" #name
#endif

extern "C" std::uint64_t(__stdcall* const tickCount64Entry)() __asm__(
    SETUP_IMPORT_ENTRY(GetTickCount64, 0));
std::uint64_t(__stdcall* const tickCount64Entry)() = &platform::TickCount64;
