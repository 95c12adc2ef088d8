#include "ingredients/GroupUsage.h"

#include <utility>

#include "ingredients/FileRewrites.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"

namespace velmaro {

int GroupField(GroupKind kind) {
    return kind == GroupKind::Ingredient ? ing::kGroup : PreparationRecordField::kGroup;
}

GroupUsers ReadGroupUsers(GroupKind kind, const std::filesystem::path& programFolder,
                          std::string_view tableName, ProgressSink& progress) {
    GroupUsers users;
    users.kind = kind;
    if (kind == GroupKind::Ingredient) {
        users.path = IngredientFilePath(programFolder, tableName);
        LineTable ingredients;
        LoadScrambledLineTable(users.path, ingredients, progress);
        users.lines = ingredients.lines.Items();
    } else {
        users.path = PreparationListPath(programFolder, tableName);
        users.lines = ReadPlainLines(users.path);
    }
    return users;
}

void WriteGroupUsers(const GroupUsers& users, ProgressSink& progress) {
    if (users.kind == GroupKind::Ingredient) {
        LineList list;
        list.Assign(users.lines);
        SaveScrambledLineTable(users.path, list, progress);
    } else {
        WritePlainLines(users.path, users.lines);
    }
}

std::string GroupUsersBytes(const GroupUsers& users) {
    if (users.kind == GroupKind::Ingredient) {
        LineList list;
        list.Assign(users.lines);
        return ScrambledLineTableBytes(list);
    }
    return JoinLinesCrLf(users.lines);
}

std::vector<std::string> RecordsInGroup(const GroupUsers& users, std::string_view group,
                                        ProgressSink& progress) {
    const int field = GroupField(users.kind);
    std::vector<std::string> names;
    if (group.empty()) {
        return names;
    }
    progress.Begin(static_cast<int>(users.lines.size()));
    for (size_t i = 0; i < users.lines.size(); ++i) {
        progress.SetPosition(static_cast<int>(i));
        const std::string& line = users.lines[i];
        if (GetField(field, line).find(group) != std::string::npos) {
            names.push_back(GetField(1, line));
        }
    }
    progress.End();
    return names;
}

void RenameGroupInRecords(GroupUsers& users, std::string_view oldName, std::string_view newName,
                          ProgressSink& progress) {
    const int field = GroupField(users.kind);
    if (oldName.empty()) {
        return;
    }
    progress.Begin(static_cast<int>(users.lines.size()));
    for (size_t i = 0; i < users.lines.size(); ++i) {
        progress.SetPosition(static_cast<int>(i));
        std::string& line = users.lines[i];
        std::string value = GetField(field, line);
        const size_t at = value.find(oldName);
        if (at != std::string::npos) {
            value.replace(at, oldName.size(), newName);
            SetField(field, line, value);
        }
    }
    progress.End();
}

}  // namespace velmaro
