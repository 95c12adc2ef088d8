#include "shell/SingleInstance.h"

#include "storage/Cp1252.h"

namespace velmaro {

bool ClaimDataHome(Ui& ui, const std::filesystem::path& home, DataHomeLock& lock) {
    switch (lock.Acquire(home)) {
        case DataHomeLock::State::Held:
            return true;
        case DataHomeLock::State::Unavailable:
            ui.ShowMessageBox(LockUnavailableMessage(lock), MessageKind::Ok);
            return false;
        case DataHomeLock::State::Busy:
        case DataHomeLock::State::Free:
            break;
    }
    ui.ShowMessageBox(W(kProgramAlreadyOpen), MessageKind::Ok);
    return false;
}

std::string LockUnavailableMessage(const DataHomeLock& lock) {
    return W("Não foi possível reservar a pasta de dados para este programa (") + W(lock.Error()) +
           W("). Sem a reserva, outra cópia do programa poderia gravar nela ao mesmo tempo; "
             "o programa será encerrado.");
}

}  // namespace velmaro
