#include "ingredients/CompositionExport.h"

#include <algorithm>

#include "ingredients/CompositionColumns.h"
#include "ingredients/CsvWriter.h"
#include "ingredients/ExtraValues.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Scramble.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// A stored field as the text of its cell (Windows-1252 in, UTF-8 out).
std::string FieldCell(int field, std::string_view text) {
    std::string value(text);
    const bool numeric = (field >= ing::kEnergy && field <= ing::kSodium) ||
                         (field >= ing::kCorrectionFactor && field <= ing::kCostPerKilogram) ||
                         (field >= kFirstExtraField && field < kFirstExtraSourceField);
    if (numeric || field == ing::kQuotationDate) {
        const std::string_view mask =
            field == ing::kQuotationDate ? ing::kDateMask : ing::ValueMask(field);
        if (value.empty() || value == BlankMaskText(mask)) {
            return {};
        }
        value = RemoveSpaces(value);
    } else if (field == ing::kName || field == ing::kGroup) {
        value = TrimTrailingSpaces(value);
    }
    return Cp1252ToUtf8(value);
}

bool HoldsRecord(std::string_view line) {
    return !line.empty() && line.back() == '|' &&
           std::count(line.begin(), line.end(), '|') == ing::kFieldCount;
}

}  // namespace

ExportResult ExportCompositionTable(const std::filesystem::path& home, std::string_view table) {
    // Read as stored, in file order, each line unscrambled with its own index. Lines that
    // do not decipher into a record are left out and named; any other damage (a NUL byte, a
    // control character, a record twice) leaves the export undone.
    const std::filesystem::path path = IngredientFilePath(home, table);
    const std::string bytes = ReadFileBytes(path);
    {
        LineTable check;
        NullProgress quiet;
        LoadScrambledLineTableFromBytes(bytes, check, quiet, ing::kFieldCount);
        for (const Damage& damage : check.lines.Check().damages) {
            if (damage.kind != DamageKind::Undecipherable &&
                damage.kind != DamageKind::ShortRecord) {
                ReadCheck first = check.lines.Check();
                first.file = path;
                first.damages = {damage};
                throw DamagedFileError(first);
            }
        }
    }
    const std::vector<std::string> lines = SplitLines(bytes);
    const ExtraValuesTable extraValues = LoadExtraValues(home, table);
    ExportResult result;
    for (const ExtraValuesProblem& problem : extraValues.Problems()) {
        result.unreadableExtraLines.push_back(problem.line);
    }
    std::string& out = result.csv;
    out += kCsvByteOrderMark;
    std::vector<std::string> cells;
    for (const ExportColumn& column : kExportColumns) {
        cells.emplace_back(column.header);
    }
    cells.emplace_back(kCarbohydrateFibreHeader);
    out += CsvRow(cells);
    const std::string includesFibre = CarbohydrateIncludesFibre(home, table) ? "sim" : "n\xC3\xA3o";
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = UnscrambleLine(i, lines[i]);
        if (!HoldsRecord(line)) {
            result.unreadableLines.push_back(static_cast<int>(i + 1));
            continue;
        }
        const ExtraValues extras = extraValues.Find(GetField(ing::kName, line));
        cells.clear();
        for (const ExportColumn& column : kExportColumns) {
            const int field = column.field;
            std::string text;
            if (field >= kFirstExtraSourceField) {
                text = extras.sources[static_cast<size_t>(field - kFirstExtraSourceField)];
            } else if (field >= kFirstExtraField) {
                text = extras.values[static_cast<size_t>(field - kFirstExtraField)];
            } else {
                text = GetField(field, line);
            }
            cells.push_back(FieldCell(field, text));
        }
        cells.push_back(includesFibre);
        out += CsvRow(cells);
        ++result.exported;
    }
    return result;
}

}  // namespace velmaro
