#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The whole file as bytes; throws StorageError when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

// Whether a data file is there to be read: false when nothing is at the path (a dangling
// link included), true for a regular file; a StorageError naming the file for anything
// else (a folder, a FIFO, a device), which is never opened, as a FIFO would block the
// reader for good.
bool DataFilePresent(const std::filesystem::path& path);

// Lines of a text: a line ends at CR, LF or CR LF; a final line without an end counts;
// a NUL byte ends the text.
std::vector<std::string> SplitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Replaces the file whole: writes a temporary file beside it, syncs it and renames it
// over the target, so a crash or a full disk leaves either the old or the new content.
// Throws StorageError on any failure, with the target untouched.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);
// The reason of a failed write as the user reads it ("disco cheio" for ENOSPC).
std::string WriteErrorText(int err);
// Called first thing by each program: a write beyond the file-size limit (ulimit -f) then
// fails with its error instead of killing the program mid-save.
void LetWritesFailOverSizeLimit();
// Whether a file name is that of the temporary file of a save that did not end
// (".ArqTab.dad.Ab12Cd").
bool IsTemporaryName(std::string_view name);

// For tests: the disk failing on purpose. While a hook is set, every write of a file's
// new content (WriteFileAtomic, FileBatch::Add) asks it first with the target's path; a
// nonzero error number it gives fails that write as the system would (ENOSPC: no space
// left; EACCES: permission denied), with the target untouched. An empty hook: none.
void SetWriteFaultHook(std::function<int(const std::filesystem::path& target)> hook);

// Many files replaced in one go, as WriteFileAtomic replaces one, with one flush of the
// file system for all of them instead of one per file: Add writes each new content to a
// temporary file beside its target; Commit makes all of them durable, then renames each
// over its target in the order they were added. A failure before the renames leaves
// every target untouched; a failed rename leaves the targets before it replaced and the
// others untouched, every one of them whole. Temporary files not committed are removed.
class FileBatch {
  public:
    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Throws StorageError when the temporary file cannot be written.
    void Add(const std::filesystem::path& path, std::string_view bytes);
    // Throws StorageError; Committed() then tells how many targets were replaced.
    void Commit();
    std::size_t Size() const { return m_files.size(); }
    std::size_t Committed() const { return m_committed; }

    // Commits the batch, then calls `afterFiles` with how many of its files were written:
    // all of them after a success; after a failure part-way, those written so far, so that
    // an index of the files can be kept in step with them. The failure is then passed on
    // (a failure of `afterFiles` in that case gives way to it).
    void CommitThen(const std::function<void(std::size_t written)>& afterFiles);

  private:
    struct Pending {
        std::filesystem::path target;
        std::string temporary;
    };
    std::vector<Pending> m_files;
    std::size_t m_committed = 0;
};

}  // namespace velmaro
