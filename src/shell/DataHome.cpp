#include "shell/DataHome.h"

#include <system_error>

#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

std::string FolderMessage(const fs::path& folder) {
    return W("Não foi possível criar ou gravar a pasta de dados \"") +
           Utf8ToCp1252(folder.string(), '?').value_or(std::string()) +
           W("\"! Verifique as permissões e o espaço em disco. O programa será encerrado.");
}

std::string InstallMessage(const fs::path& file) {
    return W("Não foi possível instalar o arquivo \"") +
           Utf8ToCp1252(file.string(), '?').value_or(std::string()) +
           W("\" na pasta de dados! Verifique as permissões e o espaço em disco. O programa "
             "será encerrado.");
}

// Folders of data/ that are read where they are delivered and not copied into the data
// home: the sources of the supplied tables (InstallSuppliedTables) and of the reference
// list (InstallReferenceList), and the example files
// the user loads with velmaro-cli.
bool IsSourceFolder(const fs::path& relative) {
    const auto first = relative.begin();
    return first != relative.end() &&
           (*first == "taco" || *first == "ibge" || *first == "ibge-medidas" ||
            *first == "exemplos" || *first == "in75");
}

// True when a file can be written into the folder (a probe that is removed again).
bool CanWriteInto(const fs::path& folder) {
    const fs::path probe = folder / ".velmaro-gravacao";
    try {
        WriteFileAtomic(probe, "");
    } catch (const StorageError&) {
        return false;
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

}  // namespace

std::string PrepareDataHome(const fs::path& deliveredDir, const fs::path& home) {
    std::error_code ec;
    fs::create_directories(DataFolder(home), ec);
    if (ec || !fs::is_directory(DataFolder(home), ec) || !CanWriteInto(home)) {
        return FolderMessage(home);
    }

    if (!fs::is_directory(deliveredDir, ec)) {
        return {};  // nothing delivered beside the program
    }
    fs::recursive_directory_iterator it(deliveredDir, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) {
            continue;
        }
        const fs::path relative = fs::relative(it->path(), deliveredDir, ec);
        if (ec) {
            break;
        }
        if (IsSourceFolder(relative)) {
            continue;
        }
        const fs::path target = home / relative;
        const fs::file_status existing = fs::symlink_status(target, ec);
        if (existing.type() != fs::file_type::not_found) {
            continue;  // a file of the user's (or one we cannot look at) is left alone
        }
        ec.clear();
        try {
            // Through a temporary file: an interrupted copy never leaves half a file
            // that later starts would take for the user's own.
            EnsureFolder(target.parent_path());
            WriteFileAtomic(target, ReadFileBytes(it->path()));
        } catch (const std::exception&) {
            return InstallMessage(target);
        }
    }
    return {};
}

}  // namespace velmaro
