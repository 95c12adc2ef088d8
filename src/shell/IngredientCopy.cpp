#include "shell/IngredientCopy.h"

#include <optional>
#include <system_error>

#include "shell/ScreenMessages.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExists = "O ingrediente já existe na Tabela Ativa!";
constexpr std::string_view kConfirm = "Confirma inclusão do ingrediente na Tabela Ativa?";
constexpr std::string_view kCopied = "O ingrediente foi copiado com sucesso para a tabela ativa!";
constexpr int kCarbohydrateSource = ing::kFirstSource + (ing::kCarbohydrate - ing::kEnergy);

// The measures file of the active table as it was before the copy replaced it, to put it
// back when a later step fails.
class MeasureCopy {
  public:
    // Replaces the target by the source's bytes, when the source exists.
    void Run(const fs::path& source, const fs::path& target) {
        std::error_code ec;
        if (!fs::exists(source, ec)) {
            return;
        }
        const std::string bytes = ReadFileBytes(source);
        if (fs::exists(target, ec)) {
            m_before = ReadFileBytes(target);
        }
        m_target = target;
        WriteFileAtomic(target, bytes);
        m_written = true;
    }
    void Undo() noexcept {
        if (!m_written) {
            return;
        }
        try {
            if (m_before) {
                WriteFileAtomic(m_target, *m_before);
            } else {
                std::error_code ec;
                fs::remove(m_target, ec);
            }
        } catch (const StorageError&) {
            // The measures of an ingredient the table does not hold: harmless.
        }
    }

  private:
    fs::path m_target;
    std::optional<std::string> m_before;
    bool m_written = false;
};

// Adds the group to the active table's group file when it is missing and not blank.
void AddMissingGroup(const fs::path& programFolder, const std::string& activeName,
                     const std::string& group) {
    if (RemoveSpaces(group).empty()) {
        return;
    }
    const fs::path path = IngredientGroupsPath(programFolder, activeName);
    LineTable groups;
    LoadLineTable(path, groups);
    if (FindKey(groups.keys, group).found) {
        return;
    }
    InsertRecord(groups, group + "|");
    SaveLineTable(path, groups.lines);
}

// "A fibra alimentar de X não é conhecida: ..." (Windows-1252).
std::string FibreUnknownMessage(const std::string& name, const std::string& from,
                                const std::string& to, bool fromIncludesFibre) {
    return W("A fibra alimentar de ") + TrimTrailingSpaces(name) +
           W(" não é conhecida: o carboidrato foi copiado em branco (desconhecido), pois a "
             "tabela ") +
           TrimTrailingSpaces(from) + W(fromIncludesFibre ? " inclui" : " não inclui") +
           W(" a fibra no carboidrato e a tabela ") + TrimTrailingSpaces(to) +
           W(fromIncludesFibre ? " não." : " sim.");
}

}  // namespace

std::string WithCarbohydrateConverted(std::string row, bool fromIncludesFibre) {
    const std::string carbohydrate = ConvertedCarbohydrate(
        GetField(ing::kCarbohydrate, row), GetField(ing::kFibre, row), fromIncludesFibre);
    SetField(ing::kCarbohydrate, row, carbohydrate);
    if (!ParseNumber(carbohydrate)) {
        SetField(kCarbohydrateSource, row, "");  // no value, no source
    }
    return row;
}

std::string WithSourcesFrom(std::string row, std::string_view description) {
    const std::string source = TrimTrailingSpaces(description);
    for (int sourceField = ing::kFirstSource; sourceField <= ing::kLastSource; ++sourceField) {
        const int valueField = ing::SourceValueField(sourceField);
        const std::string value = GetField(valueField, row);
        if (value.empty() || value == BlankMaskText(ing::ValueMask(valueField))) {
            continue;
        }
        SetField(sourceField, row,
                 sourceField == ing::kLastSource
                     ? std::string_view(source).substr(0, ing::kCostSourceMaxLength)
                     : std::string_view(source));
    }
    return row;
}

bool CopyIngredient(Ui& ui, const fs::path& programFolder, bool activeEditable,
                    const std::string& activeName, LineTable& active, const CopySourceTable& source,
                    std::string row) {
    const auto tell = [&ui](const std::string& text) { ui.ShowMessageBox(text, MessageKind::Ok); };
    if (!activeEditable) {
        tell(W("A tabela ") + TrimTrailingSpaces(activeName) + W(" não pode ser alterada!"));
        return false;
    }
    const std::string name = GetField(ing::kName, row);
    if (FindKey(active.keys, name).found) {
        tell(W(kExists));
        return false;
    }
    // Between tables whose carbohydrates mean different things (with or without the
    // fibre) the value is converted; an unknown fibre leaves it unknown, and says so.
    std::string fibreNotice;
    if (source.name != activeName) {
        try {
            const bool from = CarbohydrateIncludesFibre(programFolder, source.name);
            if (from != CarbohydrateIncludesFibre(programFolder, activeName)) {
                const bool known = ParseNumber(GetField(ing::kCarbohydrate, row)).has_value();
                row = WithCarbohydrateConverted(std::move(row), from);
                if (known && !ParseNumber(GetField(ing::kCarbohydrate, row))) {
                    fibreNotice = FibreUnknownMessage(name, source.name, activeName, from);
                }
            }
        } catch (const StorageError& e) {
            tell(*Utf8ToCp1252(e.what(), '?'));
            return false;
        }
    }
    if (ui.ShowMessageBox(W(kConfirm), MessageKind::YesNo) != kAnswerYes) {
        return false;
    }
    MeasureCopy measures;
    try {
        measures.Run(MeasureFilePath(programFolder, source.name, name, false),
                     MeasureFilePath(programFolder, activeName, name, false));
        AddMissingGroup(programFolder, activeName, GetField(ing::kGroup, row));
    } catch (const StorageError&) {
        measures.Undo();
        tell(W(msg::kInsertFailed));
        return false;
    } catch (const fs::filesystem_error&) {
        measures.Undo();
        tell(W(msg::kInsertFailed));
        return false;
    }
    if (source.flag == "0") {
        row = WithSourcesFrom(std::move(row), source.description);
    }
    InsertRecord(active, std::move(row));
    if (!fibreNotice.empty()) {
        tell(fibreNotice);
    }
    tell(W(kCopied));
    return true;
}

}  // namespace velmaro
