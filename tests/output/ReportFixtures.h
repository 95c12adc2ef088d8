#pragma once

// A preparation with its ingredient lines for report tests. Every field not set holds its
// own number ("r15" in the record, "i7" in a line), so a wrong field number shows.

#include <map>
#include <string>
#include <vector>

namespace velmaro::test {

inline std::string NumberedRecord(const std::map<int, std::string>& fields, int count,
                                  const char* prefix) {
    std::string record;
    for (int f = 1; f <= count; ++f) {
        const auto it = fields.find(f);
        record += (it != fields.end() ? it->second : prefix + std::to_string(f)) + "|";
    }
    return record;
}

// The preparation record: name, date 05/03/2024, no group, recipe energy 1000,00 kcal and
// cost 50,00, unless `fields` says otherwise.
inline std::string ReportRecord(std::map<int, std::string> fields = {}) {
    fields.try_emplace(1, std::string("Bolo") + std::string(36, ' '));
    fields.try_emplace(3, "  1000,00");
    fields.try_emplace(13, "    50,00");
    fields.try_emplace(39, "");
    fields.try_emplace(40, "05/03/2024");
    return NumberedRecord(fields, 56, "r");
}

// An ingredient line: the name padded to 60, energy 500,00 kcal and cost 12,50 unless
// `fields` says otherwise.
inline std::string ReportLine(const std::string& name, std::map<int, std::string> fields = {}) {
    fields.try_emplace(1, name + std::string(60 - name.size(), ' '));
    fields.try_emplace(9, "    12,50");
    fields.try_emplace(13, "   500,00");
    return NumberedRecord(fields, 22, "i");
}

// n lines named "Ingrediente 01", "Ingrediente 02", ...
inline std::vector<std::string> ReportLines(int n) {
    std::vector<std::string> lines;
    for (int i = 1; i <= n; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        lines.push_back(ReportLine("Ingrediente " + number));
    }
    return lines;
}

}  // namespace velmaro::test
