#pragma once

// Records of the files that carry group and measure names, for the group and measure
// screen tests: the ingredient file (scrambled), the preparation list and a
// preparation's ingredient file. Only the fields that carry names matter; the others hold
// plausible texts.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "support/TestEnv.h"

namespace velmaro::test {

inline std::string JoinFields(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields) {
        line += f + "|";
    }
    return line;
}

// 30 fields: the name (60), the composition, the empty field 12, the group (field 13).
inline std::string IngredientRecord(std::string_view name, std::string_view group) {
    std::vector<std::string> f(30);
    f[0] = Pad(name, 60);
    for (int i = 1; i <= 9; ++i) {
        f[static_cast<size_t>(i)] = "   1,00";
    }
    f[10] = "   10,00";
    f[12] = std::string(group);
    f[13] = "  1,00";
    f[14] = "  1,00";
    f[15] = "     4,50";
    f[16] = "01/02/24";
    return JoinFields(f);
}

// 56 fields: the name (40), the group in field 39, the date in field 40.
inline std::string PreparationRecord(std::string_view name, std::string_view group) {
    std::vector<std::string> f(56, "     0,00");
    f[0] = Pad(name, 40);
    f[38] = std::string(group);
    f[39] = "01/02/2024";
    return JoinFields(f);
}

// 22 fields: the ingredient (60) and the household measure in field 11.
inline std::string PreparationLine(std::string_view ingredient, std::string_view measure) {
    std::vector<std::string> f(22, "     1,00");
    f[0] = Pad(ingredient, 60);
    f[1] = "   100,0";
    f[2] = "   100,0";
    f[3] = "      , ";
    f[4] = "      , ";
    f[5] = "  1,00";
    f[6] = "  1,00";
    f[9] = "01/02/24";
    f[10] = std::string(measure);
    f[11] = "  2,00";
    return JoinFields(f);
}

inline std::string Lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) {
        bytes += l + "\r\n";
    }
    return bytes;
}

inline void WriteIngredients(const fs::path& home, std::string_view table,
                             const std::vector<std::string>& records) {
    LineList list;
    list.Assign(records);
    NullProgress progress;
    SaveScrambledLineTable(IngredientFilePath(home, table), list, progress);
}

inline std::vector<std::string> ReadIngredients(const fs::path& home, std::string_view table) {
    LineTable t;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(home, table), t, progress);
    return t.lines.Items();
}

}  // namespace velmaro::test
