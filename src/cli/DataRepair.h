#pragma once

// The safe repairs of a data folder after a check: what can be undone without guessing.
// Temporary files of saves that did not end are removed; each damaged file is copied to
// "<name>.bak-<date>" and then written without its NUL bytes, without the later of two
// identical lines (plain line tables), and with the ingredient lines that decipher in
// another line's place enciphered again for their own place. Anything else stays for the
// user (verificar names it).

#include <filesystem>
#include <string>
#include <vector>

#include "cli/DataCheck.h"

namespace velmaro::cli {

// One line (UTF-8) per thing done. `date`: "AAAA-MM-DD" for the copies' names. Throws
// StorageError when a copy or a write fails (the file is then as it was).
std::vector<std::string> RepairDataFolder(const std::filesystem::path& home, const DataCheck& check,
                                          const std::string& date);

}  // namespace velmaro::cli
