#include "ingredients/ExtraValues.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

std::optional<long double> ExtraValues::Value(ExtraValue v) const {
    return ParseNumber(Text(v));
}

bool ExtraValues::Empty() const {
    for (std::size_t i = 0; i < kExtraValueCount; ++i) {
        if (ParseNumber(values[i]) || !IsAllSpaces(sources[i])) {
            return false;
        }
    }
    return true;
}

std::filesystem::path ExtraValuesFileLocation(const std::filesystem::path& home,
                                              std::string_view table) {
    return IngredientFileLocation(home, table).parent_path() / kExtraValuesFileName;
}

std::string ExtraValuesKey(std::string_view ingredientName) {
    std::string key = TrimTrailingSpaces(ingredientName);
    if (key.size() < static_cast<std::size_t>(ing::kNameWidth)) {
        key.append(static_cast<std::size_t>(ing::kNameWidth) - key.size(), ' ');
    }
    return key;
}

std::string ExtraValuesRecord(std::string_view ingredientName, const ExtraValues& values) {
    std::string line = ExtraValuesKey(ingredientName) + "|";
    for (const auto& v : values.values) {
        line += v + "|";
    }
    for (const auto& s : values.sources) {
        line += s + "|";
    }
    return line;
}

std::optional<ExtraValues> ParseExtraValuesRecord(std::string_view line) {
    if (std::count(line.begin(), line.end(), '|') < kExtraFieldCount) {
        return std::nullopt;
    }
    ExtraValues values;
    for (std::size_t i = 0; i < kExtraValueCount; ++i) {
        const int field = 2 + static_cast<int>(i);
        values.values[i] = GetField(field, line);
        values.sources[i] = GetField(field + static_cast<int>(kExtraValueCount), line);
    }
    return values;
}

namespace {

constexpr std::array<const char*, kExtraValueCount> kExtraValueNames = {
    "açúcares totais", "açúcares adicionados", "gorduras trans"};

std::string Grams(long double value) {
    return RemoveSpaces(FormatNumber(2, 12, value)) + " g";
}

}  // namespace

std::vector<ExtraValueFinding> CheckExtraValues(const ExtraValues& values,
                                                std::optional<long double> carbohydrate,
                                                std::optional<long double> totalFat,
                                                std::optional<long double> saturatedFat) {
    std::vector<ExtraValueFinding> findings;
    std::array<std::optional<long double>, kExtraValueCount> amounts;
    for (std::size_t i = 0; i < kExtraValueCount; ++i) {
        const auto which = static_cast<ExtraValue>(i);
        const std::string& text = values.values[i];
        const std::string shown = "o valor de " + std::string(kExtraValueNames[i]) + " (\"" +
                                  Cp1252ToUtf8(RemoveSpaces(text)) + "\")";
        const std::optional<long double> value = ParseNumber(text);
        if (!value) {
            if (!IsAllSpaces(RemoveAll(text, ","))) {
                findings.push_back({true, which, shown + " não é um número."});
            }
            continue;
        }
        if (*value < 0) {
            findings.push_back({true, which, shown + " é negativo."});
        } else if (*value > kMostPer100Grams) {
            findings.push_back({true, which, shown + " passa de 100 g por 100 g."});
        } else {
            amounts[i] = value;
        }
    }
    const auto& total = amounts[static_cast<std::size_t>(ExtraValue::TotalSugars)];
    const auto& added = amounts[static_cast<std::size_t>(ExtraValue::AddedSugars)];
    const auto& trans = amounts[static_cast<std::size_t>(ExtraValue::TransFat)];
    if (added && total && *added > *total) {
        findings.push_back({false, ExtraValue::AddedSugars,
                            "os açúcares adicionados (" + Grams(*added) +
                                ") passam dos açúcares totais (" + Grams(*total) + ")."});
    }
    if (total && carbohydrate && *total > *carbohydrate) {
        findings.push_back({false, ExtraValue::TotalSugars,
                            "os açúcares totais (" + Grams(*total) + ") passam dos carboidratos (" +
                                Grams(*carbohydrate) + ")."});
    }
    if (trans && totalFat && saturatedFat.value_or(0) + *trans > *totalFat) {
        findings.push_back({false, ExtraValue::TransFat,
                            "as gorduras saturadas e trans somadas (" +
                                Grams(saturatedFat.value_or(0) + *trans) +
                                ") passam das gorduras totais (" + Grams(*totalFat) + ")."});
    }
    return findings;
}

std::vector<ExtraValueFinding> CheckExtraValuesOf(const ExtraValues& values,
                                                  std::string_view ingredientRecord) {
    return CheckExtraValues(values, ParseNumber(GetField(ing::kCarbohydrate, ingredientRecord)),
                            ParseNumber(GetField(ing::kTotalFat, ingredientRecord)),
                            ParseNumber(GetField(ing::kSaturatedFat, ingredientRecord)));
}

ExtraValues ExtraValuesTable::Find(std::string_view ingredientName) const {
    const FindResult at = FindKey(m_table.keys, ExtraValuesKey(ingredientName));
    if (!at.found) {
        return {};
    }
    return ParseExtraValuesRecord(m_table.lines[at.index]).value_or(ExtraValues{});
}

bool ExtraValuesTable::Has(std::string_view ingredientName) const {
    return FindKey(m_table.keys, ExtraValuesKey(ingredientName)).found;
}

void ExtraValuesTable::Set(std::string_view ingredientName, const ExtraValues& values) {
    const std::string key = ExtraValuesKey(ingredientName);
    const FindResult at = FindKey(m_table.keys, key);
    if (values.Empty()) {
        if (at.found) {
            DeleteRecord(m_table, at.index);
        }
        return;
    }
    if (at.found) {
        // The stored key keeps its spelling (a name that differs only in case is the same
        // ingredient).
        ReplaceRecord(m_table.lines, at.index, ExtraValuesRecord(m_table.keys[at.index], values));
    } else {
        InsertRecord(m_table, ExtraValuesRecord(key, values));
    }
}

void ExtraValuesTable::Remove(std::string_view ingredientName) {
    const FindResult at = FindKey(m_table.keys, ExtraValuesKey(ingredientName));
    if (at.found) {
        DeleteRecord(m_table, at.index);
    }
}

void ExtraValuesTable::Rename(std::string_view oldName, std::string_view newName) {
    const FindResult at = FindKey(m_table.keys, ExtraValuesKey(oldName));
    if (!at.found) {
        return;
    }
    const ExtraValues values = Find(oldName);
    DeleteRecord(m_table, at.index);
    Set(newName, values);
}

std::vector<std::string> ExtraValuesTable::Names() const {
    return m_table.keys.Items();
}

std::string ExtraValuesTable::DamageMessage(const std::filesystem::path& path) const {
    if (m_problems.empty()) {
        return {};
    }
    const ExtraValuesProblem& first = m_problems.front();
    return "O arquivo " + path.string() + " está danificado (linha " + std::to_string(first.line) +
           "): " + Cp1252ToUtf8(first.what) + ".";
}

std::string ExtraValuesTable::Bytes() const {
    return LineTableBytes(m_table.lines);
}

ExtraValuesTable ExtraValuesTable::FromBytes(std::string_view bytes) {
    ExtraValuesTable result;
    const std::vector<std::string> lines = SplitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string& line = lines[i];
        if (IsAllSpaces(RecordKey(line))) {
            result.m_problems.push_back({number, "registro sem nome de ingrediente"});
            continue;
        }
        if (!ParseExtraValuesRecord(line)) {
            result.m_problems.push_back({number, "registro incompleto"});
            continue;
        }
        if (result.Has(RecordKey(line))) {
            result.m_problems.push_back({number, "ingrediente repetido"});
            continue;
        }
        InsertRecord(result.m_table, line);
    }
    if (bytes.find('\0') != std::string_view::npos) {
        result.m_problems.push_back({static_cast<int>(lines.size()) + 1,
                                     "caractere nulo (o resto do arquivo n\xE3o foi lido)"});
    }
    return result;
}

ExtraValuesTable LoadExtraValuesFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (ec) {
            throw StorageError("cannot read " + path.string() + ": " + ec.message());
        }
        return {};
    }
    return ExtraValuesTable::FromBytes(ReadFileBytes(path));
}

ExtraValuesTable LoadExtraValues(const std::filesystem::path& home, std::string_view table) {
    return LoadExtraValuesFile(ExtraValuesFileLocation(home, table));
}

}  // namespace velmaro
