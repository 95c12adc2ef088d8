#pragma once

// The data home at start: the folder and its "Dados" folder exist, and the files
// delivered with the program are installed when missing, never over a user's file.

#include <filesystem>
#include <string>

namespace velmaro {

// Returns an empty text on success, else a message in Portuguese (Windows-1252) naming
// the folder that could not be created or written; the program shows it and ends.
std::string PrepareDataHome(const std::filesystem::path& deliveredDir,
                            const std::filesystem::path& home);

}  // namespace velmaro
