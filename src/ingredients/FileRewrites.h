#pragma once

// Files that one operation changes together (a rename carried into the files that hold
// the name): every new content is written beside its file first, then the files are
// replaced in order, so that they are either all changed or all as they were, also on a
// disk that fills up or refuses writes half-way.

#include <filesystem>
#include <string>
#include <vector>

namespace velmaro {

struct FileRewrite {
    std::filesystem::path path;
    std::string bytes;  // the new content, whole
};

// Writes the new contents, then replaces the files in order (FileBatch). A failure
// before the replacements leaves every file untouched; a replacement that fails puts
// back, as far as the disk allows, the files replaced before it. Throws StorageError.
void WriteAllOrRestore(const std::vector<FileRewrite>& rewrites);

// A plain data file as its lines in file order, and back in the order given (not
// sorted), each line followed by CR LF. A damaged file (FileDamage.h) is not read:
// DamagedFileError.
std::vector<std::string> ReadPlainLines(const std::filesystem::path& path);
void WritePlainLines(const std::filesystem::path& path, std::vector<std::string> lines);

// A plain file rewritten with `lines` in the order given, each followed by CR LF.
FileRewrite PlainFileRewrite(const std::filesystem::path& path,
                             const std::vector<std::string>& lines);

}  // namespace velmaro
