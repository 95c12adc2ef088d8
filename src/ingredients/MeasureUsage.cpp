#include "ingredients/MeasureUsage.h"

#include <utility>

#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

bool Holds(const std::string& field, std::string_view text) {
    return !text.empty() && field.find(text) != std::string::npos;
}

// The preparations of the table, in file order, with each one's ingredient file: what
// `visit` receives for every preparation, the progress bar set to its place.
template <typename Visit>
void ForEachPreparation(const std::filesystem::path& programFolder, std::string_view tableName,
                        ProgressSink& progress, Visit&& visit) {
    const std::vector<std::string> preparations =
        ReadPlainLines(PreparationListPath(programFolder, tableName));
    progress.Begin(static_cast<int>(preparations.size()));
    try {
        for (size_t i = 0; i < preparations.size(); ++i) {
            progress.SetPosition(static_cast<int>(i));
            const std::string name = GetField(PreparationRecordField::kName, preparations[i]);
            if (IsAllSpaces(name)) {
                continue;  // a blank line names no preparation
            }
            const std::filesystem::path path = PreparationFilePath(programFolder, tableName, name);
            visit(name, path, ReadPlainLines(path));
        }
    } catch (...) {
        progress.End();
        throw;
    }
    progress.End();
}

}  // namespace

std::vector<std::string> MeasureInUseItems(const std::filesystem::path& programFolder,
                                           std::string_view tableName, std::string_view ingredient,
                                           std::string_view measure, MeasureChange change,
                                           ProgressSink& progress) {
    std::vector<std::string> items;
    ForEachPreparation(
        programFolder, tableName, progress,
        [&](const std::string& preparation, const std::filesystem::path&,
            const std::vector<std::string>& lines) {
            for (const std::string& line : lines) {
                const std::string lineIngredient = GetField(IngredientLineField::kIngredient, line);
                if (!Holds(GetField(IngredientLineField::kMeasure, line), measure)) {
                    continue;
                }
                if (change == MeasureChange::Alteration && !Holds(lineIngredient, ingredient)) {
                    continue;
                }
                items.push_back(W("Preparação  : ") + preparation);
                items.push_back("Ingrediente : " + lineIngredient);
                items.push_back(Replicate("-", 73));
            }
        });
    return items;
}

std::vector<FileRewrite> MeasureRenameRewrites(const std::filesystem::path& programFolder,
                                               std::string_view tableName,
                                               std::string_view ingredient,
                                               std::string_view oldName, std::string_view newName,
                                               ProgressSink& progress) {
    std::vector<FileRewrite> rewrites;
    ForEachPreparation(
        programFolder, tableName, progress,
        [&](const std::string&, const std::filesystem::path& path,
            const std::vector<std::string>& lines) {
            std::vector<std::string> renamed = lines;
            bool changed = false;
            for (std::string& line : renamed) {
                if (!Holds(GetField(IngredientLineField::kIngredient, line), ingredient)) {
                    continue;
                }
                std::string measure = GetField(IngredientLineField::kMeasure, line);
                const size_t at = oldName.empty() ? std::string::npos : measure.find(oldName);
                if (at == std::string::npos) {
                    continue;
                }
                measure.replace(at, oldName.size(), newName);
                SetField(IngredientLineField::kMeasure, line, measure);
                changed = true;
            }
            if (changed) {
                rewrites.push_back(PlainFileRewrite(path, renamed));
            }
        });
    return rewrites;
}

}  // namespace velmaro
