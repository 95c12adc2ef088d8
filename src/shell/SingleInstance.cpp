#include "shell/SingleInstance.h"

#include "storage/Cp1252.h"

namespace velmaro {

bool ClaimDataHome(Ui& ui, const std::filesystem::path& home, DataHomeLock& lock) {
    if (lock.Acquire(home) == DataHomeLock::State::Busy) {
        ui.ShowMessageBox(W(kProgramAlreadyOpen), MessageKind::Ok);
        return false;
    }
    return true;
}

}  // namespace velmaro
