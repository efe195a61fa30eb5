// The bundled sample distribution, for tests of the portable core.
#pragma once

#include <string>
#include <vector>

#include "support/memory_file_system.h"

namespace test_support {

// Folder of the sample distribution on the machine running the tests.
std::string SampleDir();

// Copies the host folder `hostDir` (recursively, entries in name order) into
// the in-memory file system under the Windows folder `target`.
void LoadHostFolder(platform::MemoryFileSystem& fs, const std::string& hostDir,
                    const std::string& target);

// Reads a whole host file (empty when it cannot be read).
std::string ReadHostFile(const std::string& path);

// Names of the files and folders in a folder, as the file system lists them.
std::vector<std::string> FolderEntries(platform::FileSystem& fs, const std::string& folder);

}  // namespace test_support
