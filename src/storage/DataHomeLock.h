#pragma once

// One program per data home. The program holds an exclusive lock on a file of the data
// home while it runs; a second copy started on the same home finds it taken and ends, so
// that two copies never replace each other's saves. The lock belongs to the open file,
// not to a process id written somewhere: the kernel lets go of it when the process ends,
// however it ends, so a copy that crashed never blocks the next start.

#include <filesystem>
#include <string>

namespace velmaro {

class DataHomeLock {
  public:
    enum class State {
        Free,  // nothing tried yet, or released
        Held,  // this process holds the data home
        Busy,  // another process holds it
        // The lock file cannot be made, opened or locked (see Error()). Nobody can
        // tell whether another copy works on the home: it counts as taken.
        Unavailable,
    };

    // The lock file, in the data home itself.
    static constexpr const char* kFileName = ".velmaro.lock";

    DataHomeLock() = default;
    ~DataHomeLock();
    DataHomeLock(DataHomeLock&& other) noexcept;
    DataHomeLock& operator=(DataHomeLock&& other) noexcept;
    DataHomeLock(const DataHomeLock&) = delete;
    DataHomeLock& operator=(const DataHomeLock&) = delete;

    // Tries once to take the data home, never waiting; creates the home folder and the
    // lock file when missing. Releases a lock held before.
    State Acquire(const std::filesystem::path& home);
    void Release();

    State GetState() const { return m_state; }
    bool Held() const { return m_state == State::Held; }
    // Why the lock file could not be used (State::Unavailable): its path and the reason
    // in Portuguese (UTF-8); else empty.
    const std::string& Error() const { return m_error; }

  private:
    int m_fd = -1;
    State m_state = State::Free;
    std::string m_error;
};

}  // namespace velmaro
