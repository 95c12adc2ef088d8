#include "ingredients/CompositionExport.h"

#include <algorithm>

#include "ingredients/CompositionColumns.h"
#include "ingredients/ExtraValues.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Scramble.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr char kSeparator = ';';
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Cell(std::string_view utf8) {
    if (utf8.find_first_of(";\"\r\n") == std::string_view::npos) {
        return std::string(utf8);
    }
    std::string out = "\"";
    for (char c : utf8) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

// A stored field as the cell of its column (Windows-1252 in, UTF-8 out).
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
    return Cell(Cp1252ToUtf8(value));
}

bool HoldsRecord(std::string_view line) {
    return !line.empty() && line.back() == '|' &&
           std::count(line.begin(), line.end(), '|') == ing::kFieldCount;
}

}  // namespace

ExportResult ExportCompositionTable(const std::filesystem::path& home, std::string_view table) {
    // Read as stored, in file order, each line unscrambled with its own index.
    const std::vector<std::string> lines =
        SplitLines(ReadFileBytes(IngredientFilePath(home, table)));
    const ExtraValuesTable extraValues = LoadExtraValues(home, table);
    ExportResult result;
    for (const ExtraValuesProblem& problem : extraValues.Problems()) {
        result.unreadableExtraLines.push_back(problem.line);
    }
    std::string& out = result.csv;
    out += kByteOrderMark;
    for (size_t i = 0; i < kExportColumns.size(); ++i) {
        out +=
            (i > 0 ? std::string(1, kSeparator) : std::string()) + Cell(kExportColumns[i].header);
    }
    out += kLineEnd;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = UnscrambleLine(i, lines[i]);
        if (!HoldsRecord(line)) {
            result.unreadableLines.push_back(static_cast<int>(i + 1));
            continue;
        }
        const ExtraValues extras = extraValues.Find(GetField(ing::kName, line));
        for (size_t c = 0; c < kExportColumns.size(); ++c) {
            if (c > 0) {
                out += kSeparator;
            }
            const int field = kExportColumns[c].field;
            std::string text;
            if (field >= kFirstExtraSourceField) {
                text = extras.sources[static_cast<size_t>(field - kFirstExtraSourceField)];
            } else if (field >= kFirstExtraField) {
                text = extras.values[static_cast<size_t>(field - kFirstExtraField)];
            } else {
                text = GetField(field, line);
            }
            out += FieldCell(field, text);
        }
        out += kLineEnd;
        ++result.exported;
    }
    return result;
}

}  // namespace velmaro
