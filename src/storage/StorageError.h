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

}  // namespace velmaro
