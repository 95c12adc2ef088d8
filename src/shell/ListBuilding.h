#pragma once

// The lists the viewers show: rows of a data file narrowed by a group, by keywords found
// in their names, and ordered by a column. Plain functions on Windows-1252 byte strings,
// shared by every viewer that searches names by keyword.

#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// Accented capital and small letters of Portuguese to their plain letters: À Á Â Ã,
// Ç, È É Ê, Ì Í, Ò Ó Ô Õ, Ù Ú and their small forms. Other letters (Ä, Ñ, Ü, ...) stay.
std::string FoldAccents(std::string_view text);

// The words of a keyword text: trailing blanks removed, then split at every space. A
// leading space or two spaces in a row give an empty word, which no name contains. A
// blank text gives no words.
std::vector<std::string> SplitKeywordWords(std::string_view keyword);

// A name as the keyword search sees it: accents folded, the letters a-z upper-cased,
// every space turned into "-" (so the word "ARROZ-BRANCO" finds "Arroz branco").
std::string KeywordSearchName(std::string_view name);
// The same, into a buffer reused from name to name.
void KeywordSearchName(std::string_view name, std::string& out);

// Every word occurs in the name (no words: every name matches; an empty word: none).
bool MatchesKeywordWords(const std::vector<std::string>& words, std::string_view searchName);
// The keyword test on a name as stored (KeywordSearchName applied first).
bool MatchesKeyword(const std::vector<std::string>& words, std::string_view name);

// What narrows and orders a list.
struct ListQuery {
    int groupField = 0;                  // the field compared with the group
    const std::string* group = nullptr;  // filter on and a group chosen; compared exactly
    int orderField = 0;                  // ordering on and a column chosen: its field; else 0
    // Keyword on: its words (the keyword test applies to field 1); null when off.
    const std::vector<std::string>* words = nullptr;
};

struct BuiltList {
    std::vector<std::string> rows;
    // Narrowed by a group or ordered: the viewer selects its remembered position.
    // Otherwise the caller's record (first build) or the first row.
    bool filteredOrOrdered = false;
};

// The rows (the records of a line list, in its order) that pass the group filter and the
// keyword test, in that order or, with an ordering, by the column's text compared as the
// record store compares keys: without regard to case, right-aligned numbers of one width
// in ascending numeric order; rows with equal texts stay in the line list's order.
BuiltList BuildList(const std::vector<std::string>& rows, const ListQuery& query);

}  // namespace velmaro
