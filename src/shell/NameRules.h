#pragma once

// What may be typed into a name: the characters that cannot stand in a file name or a
// record are refused as they are typed, and a name that would leave its folder ("." or
// ".." once its trailing spaces are removed) is refused when it is stored.

#include <string>
#include <string_view>

#include "platform/Ui.h"

namespace velmaro {

// "\", "_", ":", "*", "?", the double quote, "<", ">" and "|".
bool IsForbiddenNameChar(char c);
// "Não é permitido utilizar o caracter (" + c + ") !"
std::string ForbiddenCharMessage(char c);
// The key press filter of name and text fields: a forbidden character is refused with
// its message and swallowed (the key becomes 0). Returns true when it was refused.
bool RefuseForbiddenChar(Ui& ui, char& key);

// True for a name holding a control character (a tab, a line break): such a name cannot be
// told apart from another on the screen and breaks the lines of the files that list it.
bool HasControlChar(std::string_view name);
inline constexpr std::string_view kControlCharNameMessage =
    "Nome inválido! O nome não pode ter caracteres de controle (como a tabulação).";

// True for a name that would leave its folder once used as a file or folder name.
bool IsEscapingName(std::string_view name);
inline constexpr std::string_view kEscapingNameMessage =
    "Nome inválido! \".\" e \"..\" não podem ser usados como nome.";
// Shows the message and returns true when the name would leave its folder or holds a
// control character.
bool RefuseEscapingName(Ui& ui, std::string_view name);

// The refusal of a table name that is the name of a file all tables share in "Dados"
// (IsReservedTableName): "Nome inválido! \"ArqTab.dad\" é o nome de um arquivo da pasta
// Dados e não pode ser o nome de uma tabela." (Windows-1252).
std::string ReservedTableNameMessage(std::string_view name);
// Shows that message and returns true for such a name; else, as RefuseEscapingName.
bool RefuseTableName(Ui& ui, std::string_view name);

// The refusal of a preparation name whose file would be the table's preparation list
// (IsReservedPreparationName); else, as RefuseEscapingName.
std::string ReservedPreparationNameMessage(std::string_view name);
bool RefusePreparationName(Ui& ui, std::string_view name);

}  // namespace velmaro
