#pragma once

// The start of the desktop program on its data home: one copy per data home. A second
// copy tells the user that the program is open already and ends, before it reads or
// writes anything of the home.

#include <filesystem>
#include <string_view>

#include "platform/Ui.h"
#include "storage/DataHomeLock.h"

namespace velmaro {

inline constexpr std::string_view kProgramAlreadyOpen =
    "O programa já está aberto neste computador.";  // UTF-8 source form

// Takes the data home into `lock` for this run. When another copy holds it, shows
// "O programa já está aberto neste computador." (OK) and gives false: the start ends.
// A lock file that cannot be used (a read-only home, say) does not stop the start: the
// preparation of the home reports what is wrong with it.
bool ClaimDataHome(Ui& ui, const std::filesystem::path& home, DataHomeLock& lock);

}  // namespace velmaro
