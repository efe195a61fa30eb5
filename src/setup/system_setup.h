// The setup state's own operations on the source folder and the system file:
// the scan at start-up, and the system file's reader and writer.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "setup/setup_state.h"

namespace setup {

class SystemSetup {
 public:
  SystemSetup(SetupState& state, platform::FileSystem& fs) : state_(state), fs_(fs) {}

  // Fills the state from the source folder, the process's current directory:
  // drives, system file, stations, run files, pictures, bitmap, sample data,
  // and last the mode. An error while loading or reading the system file does
  // not stop the scan: everything else is still taken from the source, then
  // the first such error is raised.
  void ScanSource();

  // Applies lines 1, 2, 3, 4 and 6 of CfgLines to the state, in that order.
  // Raises "List index out of bounds (<index>)" for the first missing line;
  // the lines before it keep their effect.
  void ReadSystemFile();

  // Rebuilds CfgLines from the state and saves it as DestDir + SysNavn +
  // ".bib", in Windows-1252; line 6, the carried line, keeps its UTF-8 bytes
  // where the code page cannot hold it (FormatTextFile). Raises "Cannot
  // create file <path>" when it cannot be saved, or when that name is no
  // usable name part (UsableNamePart), which keeps it in DestDir and off the
  // devices; a previous file is then kept whole.
  void WriteSystemFile();

 private:
  void ScanDrives();
  void ScanStations();
  void ScanLists();
  void ApplyMode();
  std::string DialLine() const;

  SetupState& state_;
  platform::FileSystem& fs_;
};

// A folder text made relative to the drive root: when the first ":" stands
// at position 1, 2 or 3, everything through the character after it goes;
// then one trailing "\" goes. "C:\Programs\KAMBRIX\" gives "Programs\KAMBRIX".
std::string WithoutDrivePrefix(std::string_view folder);

// The system file's name in the target folder: the system name and ".bib".
inline std::string SystemFileName(const SetupState& state) { return state.SysNavn + ".bib"; }

// Why the system file cannot be written as the state stands, in the words of
// the box that refuses the installation; empty when it can. The texts typed
// into it must reach it as they are, and the file is Windows-1252: the
// program folder (line 1), the user code (line 3) and, with the modem, the
// phone number and a modem parameter that is written (line 4) may hold no
// character the code page cannot hold. The first that does is named.
std::string SystemFileRefusal(const SetupState& state);

}  // namespace setup
