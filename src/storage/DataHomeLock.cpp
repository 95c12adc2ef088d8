#include "storage/DataHomeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace velmaro {

namespace fs = std::filesystem;

namespace {

// Why the lock file could not be opened or locked, in Portuguese (UTF-8).
std::string Reason(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return "sem permissão para gravar o arquivo de trava (é de outro usuário?)";
        case EROFS:
            return "a pasta de dados está num disco somente para leitura";
        case EISDIR:
            return "há uma pasta no lugar do arquivo de trava";
        case ENOTDIR:
            return "a pasta de dados não é uma pasta";
        case ENOENT:
            return "a pasta de dados não existe e não pôde ser criada";
        case ENOSPC:
        case EDQUOT:
            return "o disco está cheio";
        default:
            return std::strerror(err);
    }
}

}  // namespace

DataHomeLock::~DataHomeLock() {
    Release();
}

DataHomeLock::DataHomeLock(DataHomeLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_state(std::exchange(other.m_state, State::Free)),
      m_error(std::move(other.m_error)) {}

DataHomeLock& DataHomeLock::operator=(DataHomeLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
        m_state = std::exchange(other.m_state, State::Free);
        m_error = std::move(other.m_error);
    }
    return *this;
}

DataHomeLock::State DataHomeLock::Acquire(const fs::path& home) {
    Release();
    std::error_code ec;
    fs::create_directories(home, ec);
    const fs::path path = home / kFileName;
    // flock belongs to this open file: it is not shared with another open of the same
    // file (in this process or another), and programs started from this one do not
    // inherit the descriptor.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_error = path.string() + ": " + Reason(errno);
        m_state = State::Unavailable;
        return m_state;
    }
    // A lock on anything but a file of its own (a pipe, a device) would not be the
    // lock every copy takes.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        m_error = path.string() + ": o arquivo de trava não é um arquivo comum";
        m_state = State::Unavailable;
        return m_state;
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            m_state = State::Busy;
        } else {
            m_error = path.string() + ": " + Reason(err);
            m_state = State::Unavailable;
        }
        return m_state;
    }
    m_fd = fd;
    m_state = State::Held;
    return m_state;
}

void DataHomeLock::Release() {
    if (m_fd >= 0) {
        // The file stays: removing it would let a copy that opened it before the removal
        // and a copy that creates it afresh both believe they hold the home.
        ::close(m_fd);
        m_fd = -1;
    }
    m_state = State::Free;
    m_error.clear();
}

}  // namespace velmaro
