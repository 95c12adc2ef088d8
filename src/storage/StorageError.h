#pragma once

#include <stdexcept>
#include <string>

namespace velmaro {

// The one error type of the storage layer: a failed read or write of a data file,
// or a name that cannot become a path. The message is for a log or a detail line;
// the screens show their own fixed messages.
class StorageError : public std::runtime_error {
  public:
    explicit StorageError(const std::string& what) : std::runtime_error(what) {}
};

// A failure the user is told as it is: the message (UTF-8) names the file that stopped
// the work and says what was left as it was.
class NamedFileError : public StorageError {
  public:
    using StorageError::StorageError;
};

}  // namespace velmaro
