#include "ingredients/FileRewrites.h"

#include <optional>
#include <system_error>
#include <utility>

#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/StorageError.h"

namespace velmaro {

void WriteAllOrRestore(const std::vector<FileRewrite>& rewrites) {
    // What each file held, to put back after a replacement that fails part-way.
    std::vector<std::optional<std::string>> before;
    for (const FileRewrite& rewrite : rewrites) {
        std::error_code ec;
        before.push_back(std::filesystem::exists(rewrite.path, ec)
                             ? std::optional<std::string>(ReadFileBytes(rewrite.path))
                             : std::nullopt);
    }
    FileBatch files;
    for (const FileRewrite& rewrite : rewrites) {
        files.Add(rewrite.path, rewrite.bytes);
    }
    try {
        files.Commit();
    } catch (const StorageError&) {
        for (size_t i = files.Committed(); i > 0; --i) {
            try {
                if (before[i - 1]) {
                    WriteFileAtomic(rewrites[i - 1].path, *before[i - 1]);
                } else {
                    std::error_code ec;
                    std::filesystem::remove(rewrites[i - 1].path, ec);
                }
            } catch (const StorageError&) {
                // The disk refuses even the old content: the others are still put back.
            }
        }
        throw;
    }
}

std::vector<std::string> ReadPlainLines(const std::filesystem::path& path) {
    return ReadCleanLines(path);
}

void WritePlainLines(const std::filesystem::path& path, std::vector<std::string> lines) {
    LineList list;
    list.SetSorted(false);
    list.Assign(std::move(lines));
    SaveLineTable(path, list);
}

FileRewrite PlainFileRewrite(const std::filesystem::path& path,
                             const std::vector<std::string>& lines) {
    return {path, JoinLinesCrLf(lines)};
}

}  // namespace velmaro
