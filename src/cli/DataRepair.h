#pragma once

// The safe repairs of a data folder after a check: what can be undone without guessing.
// Temporary files of saves that did not end are removed; each damaged file is copied to
// "<name>.bak-<date>" (written as every save is, and read back) and then written without
// its NUL bytes, without the later of two identical lines (plain line tables), and with
// the ingredient lines that decipher in another line's place enciphered again for their
// own place.
//
// A NUL byte is taken out only where the line then has one reading: the line without it
// (a byte put in) or, in the blanks that pad a field, with a blank in its place (a blank
// overwritten) gives a whole record whose fixed-width fields (those of the same width, with
// padding, on every clean line of the file) keep their widths. A NUL that may have taken the
// place of a character of a name or a number leaves its file as it is, with the line named.
// A line of nothing but NUL bytes (a line end overwritten) is taken out. Anything else stays
// for the user (verificar names it).

#include <filesystem>
#include <functional>
#include <string>

#include "cli/DataCheck.h"

namespace velmaro::cli {

// What the repair did or left, told as it goes (UTF-8, one line each).
struct RepairReport {
    std::function<void(const std::string&)> repaired;  // a repair done, its copy checked
    std::function<void(const std::string&)> left;      // a file left as it was, and why
};

// `date`: "AAAA-MM-DD" for the copies' names. Gives the number of repairs done. Throws
// StorageError when a copy or a write fails (that file is then as it was; the repairs
// told before it stay done).
int RepairDataFolder(const std::filesystem::path& home, const DataCheck& check,
                     const std::string& date, const RepairReport& report);

}  // namespace velmaro::cli
