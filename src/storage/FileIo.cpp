#include "storage/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>

#include "storage/StorageError.h"

namespace velmaro {

namespace fs = std::filesystem;

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw StorageError("Não foi possível ler o arquivo " + path.string());
    }
    std::string bytes;
    try {
        // Room for the whole file at once, so that a large file is not copied over and
        // over while it grows in memory; the size is only a hint.
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec) {
            bytes.reserve(static_cast<size_t>(size));
        }
        char buffer[1 << 16];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            bytes.append(buffer, static_cast<size_t>(in.gcount()));
        }
    } catch (const std::exception&) {
        // The stream buffer throws on a read error (a folder in place of the file, say).
        throw StorageError("Erro de leitura no arquivo " + path.string());
    }
    if (in.bad()) {
        throw StorageError("Erro de leitura no arquivo " + path.string());
    }
    return bytes;
}

bool DataFilePresent(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        return false;
    }
    if (ec) {
        throw StorageError("Não foi possível ler " + path.string() + " (" + ec.message() + ")");
    }
    if (status.type() != fs::file_type::regular) {
        throw StorageError("Não foi possível ler " + path.string() + ": não é um arquivo comum.");
    }
    return true;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    const auto nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < bytes.size()) {
        lines.emplace_back(bytes.substr(start));
    }
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    size_t total = 0;
    for (const auto& l : lines) {
        total += l.size() + 2;
    }
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

namespace {

[[noreturn]] void Fail(const fs::path& path, const char* what, int err) {
    std::string message = "Não foi possível gravar o arquivo ";
    message.append(path.string()).append(" (").append(what).append(": ");
    message.append(WriteErrorText(err)).append(")");
    throw StorageError(message);
}

std::function<int(const fs::path&)>& WriteFaultHook() {
    static std::function<int(const fs::path&)> hook;
    return hook;
}

// Writes `bytes` to a new temporary file beside `path`, with the permissions of the file
// it will replace; syncs it when asked. Gives the temporary file's name.
std::string WriteTemporary(const fs::path& path, std::string_view bytes, bool sync) {
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string tempName = ".";
    tempName.append(path.filename().string()).append(".XXXXXX");
    std::string tmpl = (dir / tempName).string();
    if (WriteFaultHook()) {
        if (const int err = WriteFaultHook()(path); err != 0) {
            Fail(path, "escrita", err);
        }
    }
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        Fail(path, "criar temporário", errno);
    }
    auto abandon = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        Fail(path, what, err);
    };
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) {
        abandon("permissões");
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon("escrita");
        }
        done += static_cast<size_t>(n);
    }
    if (sync && ::fsync(fd) != 0) {
        abandon("sincronização");
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        Fail(path, "fechamento", err);
    }
    return tmpl;
}

void RenameOver(const std::string& temporary, const fs::path& path) {
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        Fail(path, "renomeação", err);
    }
}

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

void SyncFolder(const fs::path& dir) {
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

}  // namespace

std::string WriteErrorText(int err) {
    switch (err) {
        case ENOSPC:
        case EDQUOT:
            return "disco cheio";
        case EFBIG:
            return "o arquivo passaria do tamanho máximo permitido (ulimit -f)";
        case EROFS:
            return "disco somente para leitura";
        case EACCES:
        case EPERM:
            return "sem permissão";
        default:
            return std::strerror(err);
    }
}

void LetWritesFailOverSizeLimit() {
    // Past the file-size limit the system kills the writer with SIGXFSZ unless the signal
    // is ignored; ignored, the write fails with EFBIG and the temporary file is removed.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool IsTemporaryName(std::string_view name) {
    // "." + the name of the file it was to replace + "." + the six characters of mkstemp,
    // as WriteTemporary names it.
    constexpr size_t kSuffix = 6;
    if (name.size() < 1 + 1 + 1 + kSuffix || name.front() != '.' ||
        name[name.size() - kSuffix - 1] != '.') {
        return false;
    }
    return std::all_of(name.end() - kSuffix, name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

void SetWriteFaultHook(std::function<int(const fs::path& target)> hook) {
    WriteFaultHook() = std::move(hook);
}

void WriteFileAtomic(const fs::path& path, std::string_view bytes) {
    RenameOver(WriteTemporary(path, bytes, true), path);
    SyncFolder(FolderOf(path));
}

FileBatch::~FileBatch() {
    for (size_t i = m_committed; i < m_files.size(); ++i) {
        ::unlink(m_files[i].temporary.c_str());
    }
}

void FileBatch::Add(const fs::path& path, std::string_view bytes) {
    std::string temporary = WriteTemporary(path, bytes, false);
    m_files.push_back({path, std::move(temporary)});
}

void FileBatch::CommitThen(const std::function<void(std::size_t written)>& afterFiles) {
    try {
        Commit();
    } catch (const StorageError&) {
        if (m_committed > 0) {
            try {
                afterFiles(m_committed);
            } catch (const StorageError&) {
                // The first error is the one reported.
            }
        }
        throw;
    }
    afterFiles(m_files.size());
}

void FileBatch::Commit() {
    // One flush per file system holding the temporary files, so that every new content
    // is on disk before any target is replaced.
    std::vector<dev_t> flushed;
    std::vector<fs::path> folders;
    for (const Pending& f : m_files) {
        const fs::path dir = FolderOf(f.target);
        if (std::find(folders.begin(), folders.end(), dir) == folders.end()) {
            folders.push_back(dir);
        }
        struct stat st {};
        if (::stat(f.temporary.c_str(), &st) != 0) {
            Fail(f.target, "sincronização", errno);
        }
        if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) {
            continue;
        }
        const int fd = ::open(f.temporary.c_str(), O_RDONLY);
        if (fd < 0 || ::syncfs(fd) != 0) {
            const int err = errno;
            if (fd >= 0) {
                ::close(fd);
            }
            Fail(f.target, "sincronização", err);
        }
        ::close(fd);
        flushed.push_back(st.st_dev);
    }
    for (; m_committed < m_files.size(); ++m_committed) {
        RenameOver(m_files[m_committed].temporary, m_files[m_committed].target);
    }
    for (const fs::path& dir : folders) {
        SyncFolder(dir);
    }
}

}  // namespace velmaro
