#include "shell/NameRules.h"

#include <algorithm>

#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/Text.h"

namespace velmaro {

bool IsForbiddenNameChar(char c) {
    switch (c) {
        case '\\':
        case '_':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return true;
        default:
            return false;
    }
}

std::string ForbiddenCharMessage(char c) {
    return W("Não é permitido utilizar o caracter (") + std::string(1, c) + ") !";
}

bool RefuseForbiddenChar(Ui& ui, char& key) {
    if (!IsForbiddenNameChar(key)) {
        return false;
    }
    const char refused = key;
    key = 0;
    ui.ShowMessageBox(ForbiddenCharMessage(refused), MessageKind::Ok);
    return true;
}

bool HasControlChar(std::string_view name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

bool IsEscapingName(std::string_view name) {
    const std::string trimmed = TrimTrailingSpaces(name);
    return trimmed == "." || trimmed == "..";
}

bool RefuseEscapingName(Ui& ui, std::string_view name) {
    if (HasControlChar(name)) {
        ui.ShowMessageBox(W(kControlCharNameMessage), MessageKind::Ok);
        return true;
    }
    if (!IsEscapingName(name)) {
        return false;
    }
    ui.ShowMessageBox(W(kEscapingNameMessage), MessageKind::Ok);
    return true;
}

std::string ReservedTableNameMessage(std::string_view name) {
    return W("Nome inválido! \"") + TrimTrailingSpaces(name) +
           W("\" é o nome de um arquivo da pasta Dados e não pode ser o nome de uma tabela.");
}

bool RefuseTableName(Ui& ui, std::string_view name) {
    if (IsReservedTableName(name)) {
        ui.ShowMessageBox(ReservedTableNameMessage(name), MessageKind::Ok);
        return true;
    }
    return RefuseEscapingName(ui, name);
}

std::string ReservedPreparationNameMessage(std::string_view name) {
    return W("Nome inválido! \"") + TrimTrailingSpaces(name) +
           W("\" é o nome do arquivo da lista de preparações e não pode ser o nome de uma "
             "preparação.");
}

bool RefusePreparationName(Ui& ui, std::string_view name) {
    if (IsReservedPreparationName(name)) {
        ui.ShowMessageBox(ReservedPreparationNameMessage(name), MessageKind::Ok);
        return true;
    }
    return RefuseEscapingName(ui, name);
}

}  // namespace velmaro
