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

using PathBuilder = fs::path (*)(const fs::path&, std::string_view, std::string_view);

// In the order they are renamed: ingredients, method text, label sheet, label data,
// label image, and the label's "ALTO EM" mark when it has one.
constexpr std::array<PathBuilder, 6> kBuilders = {PreparationFilePath, RecipeTextPath,
                                                  LabelSheetPath,      LabelFilePath,
                                                  LabelImagePath,      LabelMarkImagePath};

// Files that only some preparations have: their builder makes no file, and a preparation
// without one has nothing to rename or delete.
bool Optional(PathBuilder build) {
    return build == LabelMarkImagePath;
}

struct Move {
    fs::path from;
    fs::path to;
    fs::path aside;        // what bore the new name, kept until every move is done
    bool created = false;  // the builder made the file at the new name
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
        if (it->created) {
            std::error_code ec;
            fs::remove(it->to, ec);
        }
    }
}

}  // namespace

void RenamePreparationFiles(const fs::path& home, std::string_view table, std::string_view oldName,
                            std::string_view newName) {
    std::vector<Move> moves;
    moves.reserve(kBuilders.size());
    for (PathBuilder build : kBuilders) {
        Move m;
        try {
            m.from = build(home, table, oldName);
            std::error_code ec;
            if (Optional(build) && !fs::exists(m.from, ec)) {
                continue;
            }
            // The file the builder is about to give for the new name, to tell whether it
            // makes it (and so whether a failed rename is to take it away again).
            const std::string oldFile = m.from.filename().string();
            const std::string oldStem = NamePath(SafeFileName(oldName)).string();
            const std::string suffix = oldFile.size() >= oldStem.size()
                                           ? oldFile.substr(oldStem.size())
                                           : m.from.extension().string();
            const fs::path expected =
                m.from.parent_path() / (NamePath(SafeFileName(newName)).string() + suffix);
            const bool existed = fs::exists(expected, ec);
            m.to = build(home, table, newName);
            m.created = !existed && m.to == expected;
        } catch (const StorageError&) {
            PutBack(moves);
            throw;
        }
        std::error_code ec;
        if (fs::equivalent(m.from, m.to, ec)) {
            continue;  // two names that give one file name
        }
        m.aside = AsidePath(m.to);
        const bool targetThere = fs::exists(m.to, ec);
        m.setAside = targetThere && Rename(m.to, m.aside);
        m.moved = (m.setAside || !targetThere) && Rename(m.from, m.to);
        moves.push_back(m);
        if (!m.moved) {
            PutBack(moves);
            throw StorageError("Não foi possível renomear " + m.from.string() + " para " +
                               m.to.string());
        }
    }
    for (const Move& m : moves) {
        std::error_code ec;
        fs::remove(m.aside, ec);
    }
}

void DeletePreparationFiles(const fs::path& home, std::string_view table, std::string_view name) {
    // The method text, the ingredients and the label sheet first, as they were always
    // deleted; then the label data and the label image.
    constexpr std::array<PathBuilder, 6> kOrder = {RecipeTextPath, PreparationFilePath,
                                                   LabelSheetPath, LabelFilePath,
                                                   LabelImagePath, LabelMarkImagePath};
    std::string failed;
    for (PathBuilder build : kOrder) {
        fs::path path;
        try {
            path = build(home, table, name);
        } catch (const StorageError& e) {
            failed += std::string(failed.empty() ? "" : "; ") + e.what();
            continue;
        }
        std::error_code ec;
        fs::remove(path, ec);
        if (ec) {
            failed += (failed.empty() ? "" : "; ") + path.string() + " (" + ec.message() + ")";
        }
    }
    if (!failed.empty()) {
        throw StorageError("Não foi possível excluir: " + failed);
    }
}

}  // namespace velmaro
