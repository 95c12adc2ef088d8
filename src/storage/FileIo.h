#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The whole file as bytes; throws StorageError when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

// Lines of a text: a line ends at CR, LF or CR LF; a final line without an end counts;
// a NUL byte ends the text.
std::vector<std::string> SplitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Replaces the file whole: writes a temporary file beside it, syncs it and renames it
// over the target, so a crash or a full disk leaves either the old or the new content.
// Throws StorageError on any failure, with the target untouched.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

}  // namespace velmaro
