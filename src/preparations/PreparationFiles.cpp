#include "preparations/PreparationFiles.h"

#include <array>
#include <string>
#include <system_error>
#include <vector>

#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

using Location = fs::path (*)(const fs::path&, std::string_view, std::string_view);

// Every file of a preparation besides its record, in the order they are moved and
// deleted: ingredients, method text, label sheet, label data, label image, label sheet
// PDF, the label's "ALTO EM" mark. A file the preparation gains elsewhere is added here,
// and follows it.
constexpr std::array<Location, 7> kPreparationFiles = {
    PreparationFileLocation, RecipeTextLocation, LabelSheetLocation,    LabelFileLocation,
    LabelImageLocation,      LabelPdfLocation,   LabelMarkImageLocation};

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

struct Move {
    fs::path from;
    fs::path to;
    fs::path aside;  // what bore the new name, kept until every move is done
    bool setAside = false;
    bool moved = false;
};

fs::path AsidePath(const fs::path& path) {
    fs::path aside = path;
    aside.replace_filename("." + path.filename().string() + ".renomeando");
    return aside;
}

bool Rename(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec;
}

// Undoes the moves made so far, last first.
void PutBack(std::vector<Move>& moves) {
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
        if (it->moved) {
            Rename(it->to, it->from);
        }
        if (it->setAside) {
            Rename(it->aside, it->to);
        }
    }
}

}  // namespace

void RenamePreparationFiles(const fs::path& home, std::string_view table, std::string_view oldName,
                            std::string_view newName) {
    std::vector<Move> moves;
    moves.reserve(kPreparationFiles.size());
    for (Location locate : kPreparationFiles) {
        Move m;
        try {
            m.from = locate(home, table, oldName);
            m.to = locate(home, table, newName);
        } catch (const StorageError&) {
            PutBack(moves);
            throw;
        }
        const bool fromExists = Exists(m.from);
        const bool toExists = Exists(m.to);
        std::error_code ec;
        if (m.from == m.to || (fromExists && toExists && fs::equivalent(m.from, m.to, ec))) {
            continue;  // two names that give one file name
        }
        if (!fromExists && !toExists) {
            continue;  // nothing to move, and nothing is made
        }
        // What bore the new name goes: the preparation's own file takes its place, or none
        // when it has none, so that the renamed preparation inherits nothing.
        if (toExists) {
            m.aside = AsidePath(m.to);
            m.setAside = Rename(m.to, m.aside);
        }
        m.moved = (!toExists || m.setAside) && fromExists && Rename(m.from, m.to);
        moves.push_back(m);
        if ((toExists && !m.setAside) || (fromExists && !m.moved)) {
            PutBack(moves);
            throw StorageError("Não foi possível renomear " + m.from.string() + " para " +
                               m.to.string());
        }
    }
    for (const Move& m : moves) {
        if (m.setAside) {
            std::error_code ec;
            fs::remove(m.aside, ec);
        }
    }
}

void DeletePreparationFiles(const fs::path& home, std::string_view table, std::string_view name) {
    std::string failed;
    for (Location locate : kPreparationFiles) {
        fs::path path;
        try {
            path = locate(home, table, name);
        } catch (const StorageError& e) {
            failed += std::string(failed.empty() ? "" : "; ") + e.what();
            continue;
        }
        std::error_code ec;
        fs::remove(path, ec);  // a file that is not there is no failure
        if (ec) {
            failed += (failed.empty() ? "" : "; ") + path.string() + " (" + ec.message() + ")";
        }
    }
    if (!failed.empty()) {
        throw StorageError("Não foi possível excluir: " + failed);
    }
}

}  // namespace velmaro
