#pragma once

// Files that one operation changes together (a rename carried into the files that hold
// the name): each is written whole through the atomic savers, and when one write fails
// the files written before it get their old content back, so that the files are either
// all changed or all as they were.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmaro {

struct FileRewrite {
    std::function<void()> write;    // writes the new content; throws StorageError
    std::function<void()> restore;  // writes the content it had before (may be empty)
};

// Runs the writes in order. When one throws, the rewrites already done are restored in
// reverse order (as far as the disk allows) and the error is thrown again.
void WriteAllOrRestore(const std::vector<FileRewrite>& rewrites);

// A plain data file as its lines in file order, and back in the order given (not
// sorted), each line followed by CR LF.
std::vector<std::string> ReadPlainLines(const std::filesystem::path& path);
void WritePlainLines(const std::filesystem::path& path, std::vector<std::string> lines);

// Rewrites a plain file from `before` to `after`, restoring `before` on a failure.
FileRewrite PlainFileRewrite(const std::filesystem::path& path, std::vector<std::string> before,
                             std::vector<std::string> after);

}  // namespace velmaro
