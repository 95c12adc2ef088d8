#pragma once

// Files and folders the user names for an output (a CSV export, a picture, a report, a
// list): never one of the program's own files, never over a folder or a device.

#include <filesystem>
#include <string>

namespace velmaro {

// Why `target` may not receive an output, in Portuguese (UTF-8; pass it through W() for a
// screen), naming it; empty when it may (CheckOutputFile, CheckOutputFolder).
std::string OutputFileRefusal(const std::filesystem::path& home,
                              const std::filesystem::path& target);
std::string OutputFolderRefusal(const std::filesystem::path& home,
                                const std::filesystem::path& folder);

}  // namespace velmaro
