// Keeps Windows from loading a DLL that someone put beside the program: a
// Setup.exe started from a copy of the CD (Downloads, a share) would
// otherwise load a planted system DLL of the same name from there.
#pragma once

#include <array>
#include <string>

namespace platform {

// From now on DLLs loaded by name come from the system folder, and
// SearchPath looks there before the current folder. Where the system can be
// told so (SetDefaultDllDirectories, Windows 7 with KB2533623 and later),
// it is; elsewhere, and on Vista, PreloadSystemDlls stands in for it. Call
// it first, before any window or COM call. Never fails: what the system
// lacks is skipped.
void RestrictDllSearch();

// Where Windows has it (10 22H2 and later), makes the system refuse to follow
// a junction or link that a user without administrator rights made, for the
// whole process: a Setup.exe run as administrator then never writes through
// one into a folder the user could not write to. Never fails.
void EnforceRedirectionTrust();

// Whether SetDefaultDllDirectories is used on Windows `major`.`minor`,
// given whether the system has it: not on Vista (6.0), where it makes
// CoCreateInstance(CLSID_ShellLink) fail.
bool UseDefaultDllDirectories(bool available, unsigned major, unsigned minor);

// The DLLs that Windows' own DLLs load by name while the program runs (its
// window, theme, COM and shell calls, and a screen reader's questions),
// none of them a KnownDLL on every Windows.
inline constexpr std::array<const wchar_t*, 11> kPreloadedDlls = {
    L"uxtheme", L"userenv", L"setupapi", L"apphelp",  L"propsys", L"dwmapi",
    L"cryptbase", L"ntmarta", L"oleacc", L"clbcatq", L"version"};

// Loads each of kPreloadedDlls by its full path in `systemFolder`, whose
// own imports then come from there too: a later load by name gets the DLL
// already loaded. Returns how many were loaded; one that the folder lacks
// (Windows XP has no propsys, dwmapi or cryptbase) is skipped.
int PreloadSystemDlls(const std::wstring& systemFolder);

}  // namespace platform
