#include "shell/OutputFiles.h"

#include "storage/Paths.h"

namespace velmaro {

std::string OutputFileRefusal(const std::filesystem::path& home,
                              const std::filesystem::path& target) {
    const std::string shown = "\"" + target.string() + "\"";
    switch (CheckOutputFile(home, target)) {
        case OutputRefusal::None:
            break;
        case OutputRefusal::ProgramFile:
            return "O arquivo " + shown +
                   " é um arquivo do programa (da pasta de dados ou da configuração) e não "
                   "pode ser substituído; escolha outro lugar.";
        case OutputRefusal::NotAFile:
            return shown +
                   " não é um arquivo comum (é uma pasta, um dispositivo ou outro arquivo "
                   "especial); escolha outro nome.";
    }
    return {};
}

std::string OutputFolderRefusal(const std::filesystem::path& home,
                                const std::filesystem::path& folder) {
    const std::string shown = "\"" + folder.string() + "\"";
    switch (CheckOutputFolder(home, folder)) {
        case OutputRefusal::None:
            break;
        case OutputRefusal::ProgramFile:
            return "A pasta " + shown +
                   " fica dentro da pasta Dados do programa; escolha outra pasta.";
        case OutputRefusal::NotAFile:
            return shown + " existe e não é uma pasta; escolha outro nome.";
    }
    return {};
}

}  // namespace velmaro
