#pragma once

// The files that belong to a preparation besides its record: its ingredient file, its
// method text, its label sheet file, its label data, its label image and its label sheet
// PDF. Those that exist follow the preparation when it is renamed and go with it when it
// is deleted, so that a later preparation under the old name starts without them; none
// is made on the way.

#include <filesystem>
#include <string_view>

namespace velmaro {

// Moves the preparation's files from the old name to the new one. A file that bore the
// new name goes whether or not the preparation has one of that kind to put in its place.
// All or nothing: when a move fails, the files already moved go back (and what bore the
// new name is put back), and StorageError is thrown.
void RenamePreparationFiles(const std::filesystem::path& home, std::string_view table,
                            std::string_view oldName, std::string_view newName);

// Deletes the preparation's files. Every file is tried; StorageError is thrown when one
// of them could not be deleted.
void DeletePreparationFiles(const std::filesystem::path& home, std::string_view table,
                            std::string_view name);

}  // namespace velmaro
