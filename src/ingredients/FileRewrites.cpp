#include "ingredients/FileRewrites.h"

#include <exception>
#include <utility>

#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/StorageError.h"

namespace velmaro {

void WriteAllOrRestore(const std::vector<FileRewrite>& rewrites) {
    size_t done = 0;
    try {
        for (; done < rewrites.size(); ++done) {
            rewrites[done].write();
        }
    } catch (const StorageError&) {
        while (done > 0) {
            --done;
            if (!rewrites[done].restore) {
                continue;
            }
            try {
                rewrites[done].restore();
            } catch (const StorageError&) {
                // The disk refuses even the old content: the others are still put back.
            }
        }
        throw;
    }
}

std::vector<std::string> ReadPlainLines(const std::filesystem::path& path) {
    return SplitLines(ReadFileBytes(path));
}

void WritePlainLines(const std::filesystem::path& path, std::vector<std::string> lines) {
    LineList list;
    list.SetSorted(false);
    list.Assign(std::move(lines));
    SaveLineTable(path, list);
}

FileRewrite PlainFileRewrite(const std::filesystem::path& path, std::vector<std::string> before,
                             std::vector<std::string> after) {
    return {[path, lines = std::move(after)] { WritePlainLines(path, lines); },
            [path, lines = std::move(before)] { WritePlainLines(path, lines); }};
}

}  // namespace velmaro
