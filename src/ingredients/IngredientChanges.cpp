#include "ingredients/IngredientChanges.h"

#include "storage/FileIo.h"

namespace velmaro {

int IngredientEdit::Slot(int field) {
    for (size_t i = 0; i < kCarriedIngredientFields.size(); ++i) {
        if (kCarriedIngredientFields[i] == field) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool IngredientEdit::Changed(int field) const {
    const int slot = Slot(field);
    return slot >= 0 && shown[static_cast<size_t>(slot)] != edited[static_cast<size_t>(slot)];
}

std::string IngredientEdit::Edited(int field) const {
    const int slot = Slot(field);
    return slot >= 0 ? edited[static_cast<size_t>(slot)] : std::string();
}

namespace {

void WriteTogether(const std::vector<FileContent>& withFiles) {
    FileBatch files;
    for (const FileContent& file : withFiles) {
        files.Add(file.path, file.bytes);
    }
    files.Commit();
}

}  // namespace

void NoIngredientChanges::CarryIngredientChange(Ui&, const std::filesystem::path&, std::string_view,
                                                const IngredientEdit&,
                                                const std::vector<FileContent>& withFiles) {
    WriteTogether(withFiles);
}

void NoIngredientChanges::RemoveIngredientFromPreparations(
    Ui&, const std::filesystem::path&, std::string_view, std::string_view,
    const std::vector<FileContent>& withFiles) {
    WriteTogether(withFiles);
}

void NoIngredientChanges::RenameIngredient(Ui&, const std::filesystem::path&, std::string_view,
                                           std::string_view, std::string_view,
                                           const std::vector<FileContent>& withFiles) {
    WriteTogether(withFiles);
}

}  // namespace velmaro
