#pragma once

// The start of the desktop program on its data home: one copy per data home. A second
// copy tells the user that the program is open already and ends, before it reads or
// writes anything of the home.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Ui.h"
#include "storage/DataHomeLock.h"

namespace velmaro {

inline constexpr std::string_view kProgramAlreadyOpen =
    "O programa já está aberto neste computador.";  // UTF-8 source form

// Takes the data home into `lock` for this run. When another copy holds it, shows
// "O programa já está aberto neste computador." (OK) and gives false: the start ends.
// A lock that cannot be taken for another reason (a folder in the lock file's place,
// another user's lock file, a read-only home) counts as held: the message says why and
// the start ends too, since a second copy may be working on the home unseen.
bool ClaimDataHome(Ui& ui, const std::filesystem::path& home, DataHomeLock& lock);

// The message for a lock that cannot be taken (Windows-1252).
std::string LockUnavailableMessage(const DataHomeLock& lock);

}  // namespace velmaro
