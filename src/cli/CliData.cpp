#include "cli/CliData.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "cli/CliSupport.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

namespace {

constexpr size_t kTableNameWidth = 20;
constexpr size_t kPreparationNameWidth = 40;

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

LineTable LoadIfAny(const fs::path& path) {
    LineTable table;
    if (Exists(path)) {
        LoadLineTable(path, table);
    }
    return table;
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::vector<std::string> ReadLinesIfAny(const fs::path& path) {
    if (!Exists(path)) {
        return {};
    }
    ReadCheck ignored;
    return ReadCheckedLines(ReadFileBytes(path), ignored);
}

std::vector<std::string> ReadCleanLinesIfAny(const fs::path& path) {
    return Exists(path) ? ReadCleanLines(path) : std::vector<std::string>{};
}

int FieldCount(std::string_view line) {
    const auto bars = static_cast<int>(std::count(line.begin(), line.end(), '|'));
    return !line.empty() && line.back() == '|' ? bars : -1;
}

std::string ShownName(std::string_view key) {
    return Utf8(TrimTrailingSpaces(key));
}

std::vector<TableEntry> ReadTableList(const fs::path& home, bool damagedToo) {
    std::vector<TableEntry> tables;
    const fs::path path = TableListLocation(home);
    for (const std::string& line : damagedToo ? ReadLinesIfAny(path) : ReadCleanLinesIfAny(path)) {
        if (IsAllSpaces(RecordKey(line))) {
            continue;
        }
        tables.push_back({RecordKey(line), GetField(2, line), GetField(3, line)});
    }
    return tables;
}

namespace {

// The key a name typed on the command line names in a list of keys `width` wide: the name
// as typed, else without the blanks around it.
std::optional<int> FindTypedName(const LineTable& list, std::string_view utf8Name, size_t width,
                                 std::string_view what) {
    for (const std::string& typed : {std::string(utf8Name), TrimmedName(utf8Name)}) {
        const std::string name = FromUtf8(typed, what);
        if (name.size() > width) {
            continue;
        }
        const FindResult found = FindKey(list.keys, Padded(name, width));
        if (found.found) {
            return found.index;
        }
    }
    return std::nullopt;
}

}  // namespace

TableEntry FindTable(const fs::path& home, std::string_view utf8Name, bool damagedToo) {
    const LineTable list = LoadIfAny(TableListLocation(home));
    if (!damagedToo) {
        RefuseDamaged(list.lines.Check());
    }
    const std::optional<int> index =
        FindTypedName(list, utf8Name, kTableNameWidth, "O nome da tabela");
    if (!index) {
        throw UserError("a tabela \"" + TrimmedName(utf8Name) + "\" não existe.");
    }
    if (list.lines.Damaged()) {
        return {list.keys[*index], {}, {}};
    }
    const std::string& line = list.lines[*index];
    return {list.keys[*index], GetField(2, line), GetField(3, line)};
}

std::vector<PreparationEntry> ReadPreparations(const fs::path& home, std::string_view table) {
    std::vector<PreparationEntry> preparations;
    for (std::string& line : ReadCleanLinesIfAny(PreparationListLocation(home, table))) {
        std::string key = GetField(PreparationRecordField::kName, line);
        if (!IsAllSpaces(key)) {
            preparations.push_back({std::move(key), std::move(line)});
        }
    }
    return preparations;
}

PreparationEntry FindPreparation(const fs::path& home, std::string_view table,
                                 std::string_view utf8Name) {
    const LineTable list = LoadIfAny(PreparationListLocation(home, table));
    RefuseDamaged(list.lines.Check());
    const std::optional<int> index =
        FindTypedName(list, utf8Name, kPreparationNameWidth, "O nome da preparação");
    if (!index) {
        throw UserError("a preparação \"" + TrimmedName(utf8Name) + "\" não existe na tabela \"" +
                        ShownName(table) + "\".");
    }
    return {list.keys[*index], list.lines[*index]};
}

int PreparationsUsing(const fs::path& home, std::string_view table,
                      const std::vector<std::string>& ingredients) {
    if (ingredients.empty()) {
        return 0;
    }
    int count = 0;
    std::vector<PreparationEntry> preparations;
    try {
        preparations = ReadPreparations(home, table);
    } catch (const DamagedFileError&) {
        return 0;  // a count for a hint only: verificar names the damage
    }
    for (const PreparationEntry& preparation : preparations) {
        const LineTable lines = LoadIfAny(PreparationFileLocation(home, table, preparation.key));
        for (const std::string& ingredient : ingredients) {
            if (FindKey(lines.keys, ingredient).found) {
                ++count;
                break;
            }
        }
    }
    return count;
}

}  // namespace velmaro::cli
