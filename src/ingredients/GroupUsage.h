#pragma once

// Which records use a group, and carrying a group's new name into them. Ingredient
// groups stand in field 13 of the ingredient file (scrambled); preparation groups in
// field 39 of the preparation list (plain, kept in file order). A record uses a group
// when its group field holds the group's name as stored, padding included (exact,
// case-sensitive).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Progress.h"

namespace velmaro {

enum class GroupKind { Ingredient, Preparation };

// The records that can carry a group of one kind, as read from their file.
struct GroupUsers {
    GroupKind kind = GroupKind::Ingredient;
    std::filesystem::path path;
    std::vector<std::string> lines;  // plain lines
};

// 13 for ingredient groups, 39 for preparation groups.
int GroupField(GroupKind kind);

// Reads the ingredient file (unscrambled) or the preparation list; throws StorageError.
GroupUsers ReadGroupUsers(GroupKind kind, const std::filesystem::path& programFolder,
                          std::string_view tableName, ProgressSink& progress);
// Writes the file back whole: scrambled for the ingredient file, plain lines in the
// order read for the preparation list. Throws StorageError.
void WriteGroupUsers(const GroupUsers& users, ProgressSink& progress);
// What WriteGroupUsers writes.
std::string GroupUsersBytes(const GroupUsers& users);

// The names (field 1, as stored) of the records whose group field holds `group`, in
// file order; the progress bar goes from 0 to the number of records.
std::vector<std::string> RecordsInGroup(const GroupUsers& users, std::string_view group,
                                        ProgressSink& progress);

// In the group field of every record, the first occurrence of `oldName` becomes
// `newName`; the progress bar goes from 0 to the number of records.
void RenameGroupInRecords(GroupUsers& users, std::string_view oldName, std::string_view newName,
                          ProgressSink& progress);

}  // namespace velmaro
