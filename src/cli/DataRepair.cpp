#include "cli/DataRepair.h"

#include <algorithm>
#include <optional>
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
    int emptied = 0;  // lines of nothing but NUL bytes taken out
    int repeated = 0;
    int reenciphered = 0;
    std::vector<int> left;  // lines whose NUL bytes have no one reading (1-based)
};

// The lines as ReadCheckedLines numbers them, NUL bytes kept.
std::vector<std::string> RawLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < bytes.size()) {
        lines.emplace_back(bytes.substr(start));
    }
    return lines;
}

std::vector<std::string> Parts(std::string_view line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = line.find('|'); bar != std::string_view::npos;
         start = bar + 1, bar = line.find('|', start)) {
        parts.emplace_back(line.substr(start, bar - start));
    }
    parts.emplace_back(line.substr(start));
    return parts;
}

// The width of each field that has one: the same on every clean line, and padded (a blank
// at either end) on one of them at least, or empty on all; nullopt for the others.
using Widths = std::vector<std::optional<size_t>>;

Widths FixedWidths(const std::vector<std::string>& cleanPlainLines) {
    std::vector<std::set<size_t>> seen;
    std::vector<bool> padded;
    for (const std::string& line : cleanPlainLines) {
        const std::vector<std::string> parts = Parts(line);
        if (parts.size() > seen.size()) {
            seen.resize(parts.size());
            padded.resize(parts.size(), false);
        }
        for (size_t k = 0; k < parts.size(); ++k) {
            seen[k].insert(parts[k].size());
            padded[k] =
                padded[k] || parts[k].empty() || parts[k].front() == ' ' || parts[k].back() == ' ';
        }
    }
    Widths widths(seen.size());
    for (size_t k = 0; k < seen.size(); ++k) {
        if (seen[k].size() == 1 && padded[k]) {
            widths[k] = *seen[k].begin();
        }
    }
    return widths;
}

bool IsBlank(const std::string& part, long at) {
    return at < 0 || at >= static_cast<long>(part.size()) || part[static_cast<size_t>(at)] == ' ';
}

// Whether a blank at `at` of a field stands in its padding: blanks after it up to the end
// (after two blanks, so not the place of a one-letter word), or blanks before it from the
// start with a blank after it (a number keeps its digits).
bool InPadding(const std::string& part, size_t at) {
    const auto q = static_cast<long>(at);
    const bool blanksAfter =
        std::all_of(part.begin() + q + 1, part.end(), [](char c) { return c == ' '; });
    const bool blanksBefore =
        std::all_of(part.begin(), part.begin() + q, [](char c) { return c == ' '; });
    return (blanksAfter && IsBlank(part, q - 1) && IsBlank(part, q - 2)) ||
           (blanksBefore && IsBlank(part, q + 1));
}

// The one reading of a line with NUL bytes, or nullopt. `decipher`: the plain record of a
// line of the file as it would be stored.
std::optional<std::string> OneReading(
    const std::string& raw, int fields, const Widths& widths, bool mayBeBlank,
    const std::function<std::string(const std::string&)>& plainOf) {
    std::vector<std::string> readings;
    for (const bool blank : {false, true}) {
        if (blank && !mayBeBlank) {
            continue;
        }
        std::string line;
        std::vector<size_t> places;  // where the NUL bytes were, in the reading
        for (char c : raw) {
            if (c != '\0') {
                line += c;
            } else {
                places.push_back(line.size());
                if (blank) {
                    line += ' ';
                }
            }
        }
        const std::string plain = plainOf(line);
        ReadCheck check;
        CheckRecordLine(plain, 1, fields, check);
        if (!check.Clean() || plain.empty() || plain.back() != '|') {
            continue;
        }
        const std::vector<std::string> parts = Parts(plain);
        bool fits = true;
        for (size_t k = 0; k < parts.size() && fits; ++k) {
            if (k < widths.size() && widths[k] && parts[k].size() != *widths[k]) {
                fits = false;
            }
        }
        // Every NUL in a field of a known width, and in its padding when read as a blank.
        for (size_t place : places) {
            const auto before = static_cast<size_t>(
                std::count(plain.begin(), plain.begin() + static_cast<long>(place), '|'));
            size_t start = place;
            while (start > 0 && plain[start - 1] != '|') {
                --start;
            }
            if (before >= widths.size() || !widths[before] ||
                (blank && !InPadding(parts[before], place - start))) {
                fits = false;
            }
        }
        if (fits) {
            readings.push_back(line);
        }
    }
    if (readings.size() != 1) {
        return std::nullopt;
    }
    return readings.front();
}

bool OnlyNuls(const std::string& raw) {
    return std::all_of(raw.begin(), raw.end(), [](char c) { return c == '\0'; });
}

// A label data file: a NUL before or after a section header, which no character of a
// header can have been.
std::optional<std::string> IniReading(const std::string& raw) {
    std::string line = raw;
    std::erase(line, '\0');
    const size_t first = raw.find_first_not_of('\0');
    const size_t last = raw.find_last_not_of('\0');
    const bool inside = raw.substr(first, last - first + 1).find('\0') != std::string::npos;
    if (!inside && line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
        !HasControl(line)) {
        return line;
    }
    return std::nullopt;
}

Repaired Repair(const DamagedFile& file, std::string_view bytes) {
    Repaired out;
    std::vector<std::string> raw = RawLines(bytes);
    const int fields = std::max(RecordFieldsOf(file.path), 1);
    const auto plainOf = [&](size_t index) {
        return [&file, index](const std::string& line) {
            return file.scrambled ? UnscrambleLine(index, line) : line;
        };
    };
    std::vector<std::string> clean;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i].find('\0') == std::string::npos) {
            const std::string plain = plainOf(i)(raw[i]);
            if (LooksDeciphered(plain)) {
                clean.push_back(plain);
            }
        }
    }
    const Widths widths = FixedWidths(clean);
    // Lines of NUL bytes only are taken out; a scrambled file is then enciphered again
    // for the new places (below).
    std::vector<std::string> lines;
    std::vector<size_t> origin;  // the line's place in the file as it was
    for (size_t i = 0; i < raw.size(); ++i) {
        const auto nuls = static_cast<int>(std::count(raw[i].begin(), raw[i].end(), '\0'));
        if (nuls == 0) {
            lines.push_back(raw[i]);
            origin.push_back(i);
            continue;
        }
        if (OnlyNuls(raw[i])) {
            out.nuls += nuls;
            ++out.emptied;
            continue;
        }
        std::optional<std::string> reading;
        if (file.ini) {
            reading = IniReading(raw[i]);
        } else if (!file.text) {
            reading = OneReading(raw[i], fields, widths, !file.scrambled, plainOf(i));
        }
        if (!reading) {
            out.left.push_back(static_cast<int>(i) + 1);
            lines.push_back(raw[i]);
            origin.push_back(i);
            continue;
        }
        out.nuls += nuls;
        lines.push_back(std::move(*reading));
        origin.push_back(i);
    }
    if (!out.left.empty()) {
        return out;
    }
    if (file.scrambled) {
        // Lines keep their places: a line that deciphers only in another place is
        // enciphered again for its own. Then every line is plain.
        std::vector<std::string> plain;
        bool whole = true;
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string text = UnscrambleLine(origin[i], lines[i]);
            if (!LooksDeciphered(text)) {
                const int other = OtherCipherIndex(lines[i], origin[i], ing::kFieldCount);
                if (other >= 0) {
                    text = UnscrambleLine(static_cast<size_t>(other), lines[i]);
                    ++out.reenciphered;
                } else {
                    whole = false;
                }
            }
            plain.push_back(std::move(text));
        }
        // Lines dropped move the lines after them to other places: only when every line
        // deciphers is the file enciphered again, each line for its new place.
        if (!whole) {
            if (out.emptied > 0) {
                out.left.push_back(static_cast<int>(origin.front()) + 1);
                return out;
            }
            for (size_t i = 0; i < lines.size(); ++i) {
                if (LooksDeciphered(plain[i])) {
                    lines[i] = ScrambleLine(origin[i], plain[i]);
                }
            }
        } else {
            std::set<std::string> seen;
            lines.clear();
            for (std::string& line : plain) {
                if (seen.insert(line).second) {
                    lines.push_back(ScrambleLine(lines.size(), line));
                } else {
                    ++out.repeated;
                }
            }
        }
    } else if (!file.ini && !file.text) {
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

std::string LinesText(const std::vector<int>& lines) {
    std::string text = lines.size() == 1 ? "linha " : "linhas ";
    for (size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : (i + 1 == lines.size() ? " e " : ", ")) + std::to_string(lines[i]);
    }
    return text;
}

}  // namespace

int RepairDataFolder(const fs::path& home, const DataCheck& check, const std::string& date,
                     const RepairReport& report) {
    int done = 0;
    std::error_code ec;
    for (const fs::path& temporary : check.temporaries) {
        if (fs::remove(temporary, ec)) {
            report.repaired("removido o arquivo temporário \"" +
                            Shown(fs::relative(temporary, home, ec)) + "\".");
            ++done;
        }
    }
    for (const DamagedFile& file : check.damaged) {
        const std::string shown = Shown(fs::relative(file.path, home, ec));
        const std::string bytes = ReadFileBytes(file.path);
        const Repaired repaired = Repair(file, bytes);
        if (!repaired.left.empty()) {
            report.left("\"" + shown + "\", " + LinesText(repaired.left) +
                        ": o byte nulo pode ter tomado o lugar de um caractere (de um nome ou de "
                        "um número); o arquivo não foi alterado e precisa ser corrigido à mão.");
            continue;
        }
        if (repaired.bytes == bytes || (repaired.nuls == 0 && repaired.repeated == 0 &&
                                        repaired.reenciphered == 0 && repaired.emptied == 0)) {
            continue;
        }
        // The copy is written as every save is (a temporary file, synced, renamed) and read
        // back before the file is touched: a full disk leaves no half copy.
        const fs::path backup = BackupName(file.path, date);
        try {
            WriteFileAtomic(backup, bytes);
            if (ReadFileBytes(backup) != bytes) {
                throw StorageError("a cópia lida de volta difere do original");
            }
        } catch (const StorageError& e) {
            std::error_code removed;
            fs::remove(backup, removed);
            throw StorageError("Não foi possível fazer a cópia de " + file.path.string() + " em " +
                               backup.string() + ": " + e.what() + ". O arquivo não foi alterado.");
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
        add(repaired.emptied, "1 linha só de bytes nulos removida",
            "linhas só de bytes nulos removidas");
        add(repaired.repeated, "1 linha repetida removida", "linhas repetidas removidas");
        add(repaired.reenciphered, "1 linha cifrada de novo na sua posição",
            "linhas cifradas de novo nas suas posições");
        report.repaired("reparado \"" + shown + "\": " + what + " (cópia do original em \"" +
                        backup.filename().string() + "\").");
        ++done;
    }
    return done;
}

}  // namespace velmaro::cli
