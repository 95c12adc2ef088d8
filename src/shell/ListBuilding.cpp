#include "shell/ListBuilding.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "storage/Collation.h"
#include "storage/LineTable.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// Windows-1252 byte -> the byte the keyword search compares.
constexpr std::array<unsigned char, 256> MakeFoldTable(bool upper) {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) {
        t[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    }
    const auto map = [&t](std::initializer_list<int> from, char to) {
        for (int c : from) {
            t[static_cast<size_t>(c)] = static_cast<unsigned char>(to);
        }
    };
    map({0xC0, 0xC1, 0xC2, 0xC3}, 'A');
    map({0xC7}, 'C');
    map({0xC8, 0xC9, 0xCA}, 'E');
    map({0xCC, 0xCD}, 'I');
    map({0xD2, 0xD3, 0xD4, 0xD5}, 'O');
    map({0xD9, 0xDA}, 'U');
    map({0xE0, 0xE1, 0xE2, 0xE3}, 'a');
    map({0xE7}, 'c');
    map({0xE8, 0xE9, 0xEA}, 'e');
    map({0xEC, 0xED}, 'i');
    map({0xF2, 0xF3, 0xF4, 0xF5}, 'o');
    map({0xF9, 0xFA}, 'u');
    if (upper) {
        for (size_t c = 0; c < 256; ++c) {
            if (t[c] >= 'a' && t[c] <= 'z') {
                t[c] = static_cast<unsigned char>(t[c] - 32);
            }
        }
        t[static_cast<size_t>(' ')] = '-';
    }
    return t;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable(false);
constexpr std::array<unsigned char, 256> kSearch = MakeFoldTable(true);

}  // namespace

std::string FoldAccents(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
    }
    return out;
}

std::vector<std::string> SplitKeywordWords(std::string_view keyword) {
    std::string rest = TrimTrailingSpaces(keyword);
    std::vector<std::string> words;
    if (rest.empty()) {
        return words;
    }
    std::string_view r = rest;
    for (auto space = r.find(' '); space != std::string_view::npos; space = r.find(' ')) {
        words.emplace_back(r.substr(0, space));
        r.remove_prefix(space + 1);
    }
    words.emplace_back(r);
    return words;
}

void KeywordSearchName(std::string_view name, std::string& out) {
    out.resize(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        out[i] = static_cast<char>(kSearch[static_cast<unsigned char>(name[i])]);
    }
}

std::string KeywordSearchName(std::string_view name) {
    std::string out;
    KeywordSearchName(name, out);
    return out;
}

bool MatchesKeywordWords(const std::vector<std::string>& words, std::string_view searchName) {
    for (const auto& word : words) {
        if (word.empty() || searchName.find(word) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool MatchesKeyword(const std::vector<std::string>& words, std::string_view name) {
    return MatchesKeywordWords(words, KeywordSearchName(name));
}

BuiltList BuildList(const std::vector<std::string>& rows, const ListQuery& query) {
    BuiltList list;
    const bool byGroup = query.group != nullptr;
    const bool byKeyword = query.words != nullptr && !query.words->empty();
    list.filteredOrOrdered = byGroup || query.orderField > 0;

    std::vector<const std::string*> kept;
    kept.reserve(byGroup || byKeyword ? rows.size() / 4 : rows.size());
    std::string searchName;
    for (const auto& row : rows) {
        if (byGroup && GetField(query.groupField, row) != *query.group) {
            continue;
        }
        if (byKeyword) {
            KeywordSearchName(GetField(1, row), searchName);
            if (!MatchesKeywordWords(*query.words, searchName)) {
                continue;
            }
        }
        kept.push_back(&row);
    }

    // The rows of a line list stand in the order of their keys (field 1) already. Any
    // other column: the rows in the order of the column's texts, compared as the record
    // store compares keys; rows with equal texts keep their order.
    std::vector<size_t> order(kept.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (query.orderField > 1) {
        std::vector<std::string> sortKeys;
        sortKeys.reserve(kept.size());
        for (const std::string* row : kept) {
            sortKeys.push_back(CollationKey(GetField(query.orderField, *row)));
        }
        std::sort(order.begin(), order.end(), [&sortKeys](size_t a, size_t b) {
            const int c = sortKeys[a].compare(sortKeys[b]);
            return c != 0 ? c < 0 : a < b;
        });
    }
    list.rows.reserve(kept.size());
    for (size_t i : order) {
        list.rows.push_back(*kept[i]);
    }
    return list;
}

}  // namespace velmaro
