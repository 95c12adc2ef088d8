#pragma once

// A disk that fails the program's file writes on purpose, for as long as it lives: the
// Nth write from its making (1 for the first) fails with the error given, and with
// `stays` every write after it too (a disk that stays full or read-only); the writes
// before it go through. The failure comes as the system gives it (ENOSPC, EACCES), with
// the target file untouched.

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace velmaro::test {

class FailingDisk {
  public:
    FailingDisk(int failAt, int error, bool stays = true);
    ~FailingDisk();
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

    // The writes asked for so far, those that failed included.
    int Writes() const { return m_writes; }
    bool Failed() const { return m_writes >= m_failAt; }
    // The targets of the writes asked for, in order.
    const std::vector<std::filesystem::path>& Targets() const { return m_targets; }

  private:
    int m_failAt;
    int m_error;
    bool m_stays;
    int m_writes = 0;
    std::vector<std::filesystem::path> m_targets;
};

// Runs an operation with the disk failing at its first write, then at its second, and so
// on, until a run makes no more writes than went through: `run(disk)` does the operation
// once, from the same starting state, with the failing disk in place, and checks what it
// left. Gives the number of writes the operation makes when nothing fails.
int FailEachWriteInTurn(int error, bool stays, const std::function<void(const FailingDisk&)>& run);

// The files under a folder that hold the user's data, by their paths inside it: hidden
// files (a temporary file, the lock) and empty ones (which the path builders make) left
// out.
std::map<std::filesystem::path, std::string> DataFiles(const std::filesystem::path& folder);

}  // namespace velmaro::test
