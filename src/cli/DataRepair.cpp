#include "cli/DataRepair.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "cli/CliSupport.h"
#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/Scramble.h"
#include "storage/StorageError.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

namespace {

struct Repaired {
    std::string bytes;
    int nuls = 0;
    int repeated = 0;
    int reenciphered = 0;
};

Repaired Repair(const DamagedFile& file, std::string_view bytes) {
    Repaired out;
    out.nuls = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\0'));
    ReadCheck ignored;
    std::vector<std::string> lines = ReadCheckedLines(bytes, ignored);
    if (file.scrambled) {
        // Lines keep their places: a line that deciphers only in another place is
        // enciphered again for its own.
        for (size_t i = 0; i < lines.size(); ++i) {
            if (LooksDeciphered(UnscrambleLine(i, lines[i]))) {
                continue;
            }
            const int other = OtherCipherIndex(lines[i], i, ing::kFieldCount);
            if (other >= 0) {
                lines[i] = ScrambleLine(i, UnscrambleLine(static_cast<size_t>(other), lines[i]));
                ++out.reenciphered;
            }
        }
        // Identical records twice: only when every line deciphers, since dropping a line
        // moves the lines after it to other places (each is enciphered again for its new
        // one).
        std::vector<std::string> plain;
        for (size_t i = 0; i < lines.size(); ++i) {
            plain.push_back(UnscrambleLine(i, lines[i]));
        }
        if (std::all_of(plain.begin(), plain.end(),
                        [](const std::string& l) { return LooksDeciphered(l); })) {
            std::set<std::string> seen;
            std::vector<std::string> kept;
            for (std::string& line : plain) {
                if (seen.insert(line).second) {
                    kept.push_back(std::move(line));
                } else {
                    ++out.repeated;
                }
            }
            if (out.repeated > 0) {
                lines.clear();
                for (size_t i = 0; i < kept.size(); ++i) {
                    lines.push_back(ScrambleLine(i, kept[i]));
                }
            }
        }
    } else if (!file.ini) {
        std::set<std::string> seen;
        std::vector<std::string> kept;
        for (std::string& line : lines) {
            if (!seen.insert(line).second) {
                ++out.repeated;
                continue;
            }
            kept.push_back(std::move(line));
        }
        lines = std::move(kept);
    }
    out.bytes = JoinLinesCrLf(lines);
    return out;
}

fs::path BackupName(const fs::path& path, const std::string& date) {
    fs::path backup = path;
    backup += ".bak-" + date;
    std::error_code ec;
    for (int n = 2; fs::exists(backup, ec); ++n) {
        backup = path;
        backup += ".bak-" + date + "-" + std::to_string(n);
    }
    return backup;
}

}  // namespace

std::vector<std::string> RepairDataFolder(const fs::path& home, const DataCheck& check,
                                          const std::string& date) {
    std::vector<std::string> done;
    std::error_code ec;
    for (const fs::path& temporary : check.temporaries) {
        if (fs::remove(temporary, ec)) {
            done.push_back("removido o arquivo temporário \"" +
                           Shown(fs::relative(temporary, home, ec)) + "\".");
        }
    }
    for (const DamagedFile& file : check.damaged) {
        const std::string bytes = ReadFileBytes(file.path);
        const Repaired repaired = Repair(file, bytes);
        if (repaired.bytes == bytes ||
            (repaired.nuls == 0 && repaired.repeated == 0 && repaired.reenciphered == 0)) {
            continue;
        }
        const fs::path backup = BackupName(file.path, date);
        fs::copy_file(file.path, backup, ec);
        if (ec) {
            throw StorageError("Não foi possível copiar " + file.path.string() + " para " +
                               backup.string() + " (" + ec.message() + ")");
        }
        WriteFileAtomic(file.path, repaired.bytes);
        std::string what;
        auto add = [&](int count, const std::string& one, const std::string& many) {
            if (count > 0) {
                what += (what.empty() ? "" : ", ") +
                        (count == 1 ? one : std::to_string(count) + " " + many);
            }
        };
        add(repaired.nuls, "1 byte nulo removido", "bytes nulos removidos");
        add(repaired.repeated, "1 linha repetida removida", "linhas repetidas removidas");
        add(repaired.reenciphered, "1 linha cifrada de novo na sua posição",
            "linhas cifradas de novo nas suas posições");
        done.push_back("reparado \"" + Shown(fs::relative(file.path, home, ec)) + "\": " + what +
                       " (cópia do original em \"" + backup.filename().string() + "\").");
    }
    return done;
}

}  // namespace velmaro::cli
