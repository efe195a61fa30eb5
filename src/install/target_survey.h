// The look at the target before anything is written: links on the way, files
// held by running programs, the room, and what is already there.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "install/plan.h"
#include "platform/file_system.h"

namespace install {

// What the target holds before anything is written, as far as the
// installation depends on it.
struct TargetSurvey {
  // The first folder of the installation that is a link (a junction, a
  // symbolic link, a mount point): what is written there lands elsewhere.
  std::string linkedFolder;
  // Files to be replaced that another program holds.
  std::vector<std::string> inUse;
  // Upper-cased paths of what the listed folders hold, and the folders
  // listed (each with its trailing "\"): a path in a listed folder that is
  // not among the entries was not there.
  std::set<std::string> entries;
  std::set<std::string> listed;
  // What a run that was stopped left in the target folder: temporary
  // folders and files by the names only this program gives them (never a
  // link); and, upper-cased, the sample files it had set out to make, which
  // may be cut short or, after a power cut, zeros: they are no site's
  // measurements.
  std::vector<std::string> leftovers;
  std::set<std::string> unfinished;
  // The room on the target's volume, where it can be told, and what the
  // copies take of it at most: every file copied while the file it
  // replaces is still there, in whole clusters, and the system file.
  std::optional<platform::DiskSpace> space;
  std::uint64_t needed = 0;
  // Upper-cased paths of the files in the folders that the copies read,
  // with their attributes and sizes, from one listing of each folder.
  std::map<std::string, platform::FileInfo> sources;

  // Whether the listing found `path`; whether it shows `path` was not there.
  bool Found(const std::string& path) const;
  bool KnownAbsent(const std::string& path) const;
  // Whether a sample file at `path` is the site's own, to be left as it is.
  bool SitesOwn(const std::string& path) const;
  // What the listing of its folder told of the source file `path`.
  std::optional<platform::FileInfo> Source(const std::string& path) const;
};

// The names of the temporary files of an installation in its target: the
// folder "~setup<n>.tmp" of the copies, with files named by a number in it
// and the list of the sample files the run makes (kSamplesList), and
// "~wr<process>.<n>.tmp" beside a file written whole.
inline constexpr char kSamplesList[] = "samples.lst";
std::string TempFolderName(unsigned n);
bool IsTempFolderName(std::string_view name);
bool IsTempFileName(std::string_view name);
bool IsWholeWriteTempName(std::string_view name);

// Looks at the target folder and every folder of the plan in it that exists,
// and at every file there that the plan or `alsoWritten` (the system file)
// would replace, changing nothing. A file counts as in use when a program
// holds it so that it cannot be replaced, as the probe of its replacement
// shows (for a read-only file, which refuses that probe, the probe of a
// rename over it), or as the system tells without opening it; and when it
// would be replaced: its source exists, and its group replaces files.
// `reserve` is what the writing after the copies needs of the room.
TargetSurvey SurveyTarget(const InstallPlan& plan, platform::FileSystem& fs,
                          const std::vector<std::string>& alsoWritten,
                          std::uint64_t reserve = 0);

}  // namespace install
