#pragma once

// The fixed texts the register screens and the configuration screen show, in UTF-8
// source form (pass them through W() before showing them).

#include <string_view>

namespace velmaro::msg {

inline constexpr std::string_view kInvalidCode = "Código inválido!";
inline constexpr std::string_view kLogicError = "Erro de lógica!";
inline constexpr std::string_view kConfirmInsert = "Confirma inclusão?";
inline constexpr std::string_view kConfirmAlter = "Confirma alteração?";
inline constexpr std::string_view kConfirmDelete = "Confirma exclusão?";
inline constexpr std::string_view kInserted = "Inclusão efetuada com sucesso!";
inline constexpr std::string_view kAltered = "Alteração efetuada com sucesso!";
inline constexpr std::string_view kDeleted = "Exclusão efetuada com sucesso!";
inline constexpr std::string_view kInsertFailed = "Erro durante inclusão!";
inline constexpr std::string_view kAlterFailed = "Erro durante a alteração!";
inline constexpr std::string_view kDeleteFailed = "Erro durante exclusão!";
inline constexpr std::string_view kNoRecords = "Não existem registros no arquivo!";
inline constexpr std::string_view kUnsavedRecord = "Os dados não foram gravados! Deseja gravá-los?";
inline constexpr std::string_view kUnsavedSettings = "Os dados não foram salvos! Deseja salvá-los?";
// A data file that exists but cannot be read: the screen does not open on it, so that a
// later save cannot replace the file with an empty list.
inline constexpr std::string_view kReadFailed =
    "Erro durante a leitura do arquivo! Verifique se o arquivo pode ser lido.";

}  // namespace velmaro::msg
